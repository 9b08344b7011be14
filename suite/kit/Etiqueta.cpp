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

void Etiqueta::setForecolor(int bgr)
{
    m_forecolor = bgr;
    QPalette p;
    p.setResolveMask(0);
    if (bgr >= 0)
        p.setColor(QPalette::WindowText, QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF));
    setPalette(p);
}

void Etiqueta::setFontbold(bool on)
{
    QFont f = font();
    f.setBold(on);
    setFont(f);
}

} // namespace suite
