#pragma once

namespace suite {
struct ComponentTable;
}

// The component's registration table: its one creatable class, Pantalla, and
// its start and stop routines.
const suite::ComponentTable &componentXB733();
