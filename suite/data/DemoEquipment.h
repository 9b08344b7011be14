#pragma once

namespace suite {

class Connection;

// The demo's equipment and vehicle records, as the asset screen generates
// them from an asset, and the catalogues their codes come from: equipment of
// an office computer that was deactivated with its asset, of a machine and
// of a service unit, vehicles of a truck and of that unit, and one service
// unit with its equipment but no vehicle yet. Loaded after the assets.
class DemoEquipment
{
public:
    static void load(Connection &connection);
};

} // namespace suite
