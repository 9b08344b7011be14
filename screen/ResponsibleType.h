#pragma once

namespace suite {
class FormControls;
}

namespace xb733 {

// The asset's responsible party is an employee or a client: the two frames lie
// on the same place and exactly one shows; the key of the other is emptied.
class ResponsibleType
{
public:
    enum Kind { Employee, Client };

    // In this order: empty the other kind's key box and description, disable
    // then hide its frame, enable then show the chosen frame.
    static void choose(const suite::FormControls &controls, Kind kind);
};

} // namespace xb733
