#include "suite/kit/Etiqueta.h"

#include "suite/kit/KitAlignment.h"
#include "suite/kit/KitEnabled.h"

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
    return kitAlignmentOf(alignment());
}

void Etiqueta::setKitAlignment(int value)
{
    setAlignment(alignmentFromKit(value));
}

bool Etiqueta::isOwnEnabled() const
{
    return ownEnabled(this);
}

} // namespace suite
