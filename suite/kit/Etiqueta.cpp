#include "suite/kit/Etiqueta.h"

namespace suite {

Etiqueta::Etiqueta(QWidget *parent)
    : QLabel(parent)
{
    setProperty("tag", QString());
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

Etiqueta::~Etiqueta() = default;

int Etiqueta::kitAlignment() const
{
    const Qt::Alignment a = alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight)
        return 1;
    if (a & Qt::AlignHCenter)
        return 2;
    return 0;
}

void Etiqueta::setKitAlignment(int value)
{
    Qt::Alignment h = Qt::AlignLeft;
    if (value == 1)
        h = Qt::AlignRight;
    else if (value == 2)
        h = Qt::AlignHCenter;
    setAlignment(h | Qt::AlignVCenter);
}

bool Etiqueta::isOwnEnabled() const
{
    return !testAttribute(Qt::WA_ForceDisabled);
}

} // namespace suite
