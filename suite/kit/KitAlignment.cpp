#include "suite/kit/KitAlignment.h"

namespace suite {

int kitAlignmentOf(Qt::Alignment alignment)
{
    const Qt::Alignment h = alignment & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignRight)
        return 1;
    if (h & Qt::AlignHCenter)
        return 2;
    return 0;
}

Qt::Alignment alignmentFromKit(int code)
{
    Qt::Alignment h = Qt::AlignLeft;
    if (code == 1)
        h = Qt::AlignRight;
    else if (code == 2)
        h = Qt::AlignHCenter;
    return h | Qt::AlignVCenter;
}

} // namespace suite
