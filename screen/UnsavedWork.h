#pragma once

#include <QStringList>

namespace suite {
class FormControls;
}

namespace xb733 {

// Whether the record being keyed has changes that were not saved: what its
// inputs hold now against what they held when New or Edit began (the values
// New starts with, or the record as it was loaded).
class UnsavedWork
{
public:
    explicit UnsavedWork(const suite::FormControls &controls);

    // Called once New or Edit has set the record up.
    void remember();
    // True while the toolbar is editing and an input differs from then.
    bool pending() const;

private:
    QStringList values() const;

    const suite::FormControls &m_controls;
    QStringList m_remembered;
};

} // namespace xb733
