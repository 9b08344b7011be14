#include "suite/kit/Frame.h"

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
    return !testAttribute(Qt::WA_ForceDisabled);
}

} // namespace suite
