#include "suite/kit/Frame.h"

#include "suite/kit/KitEnabled.h"

namespace suite {

Frame::Frame(QWidget *parent)
    : QFrame(parent)
{
    setProperty("tag", QString());
    setFrameShape(QFrame::NoFrame);
}

Frame::~Frame() = default;

bool Frame::isOwnEnabled() const
{
    return ownEnabled(this);
}

} // namespace suite
