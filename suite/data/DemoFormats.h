#pragma once

namespace suite {

class Connection;

// The demo's print formats and label definitions: the responsibility letter
// of a fixed asset (RESPONSIVA_AF) and its label, as a statement (AF01) and
// through the label procedure (AF02).
class DemoFormats
{
public:
    static void load(Connection &connection);
};

} // namespace suite
