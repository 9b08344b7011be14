#include "suite/host/ModalGuard.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace suite {

ModalGuard::ModalGuard(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

ModalGuard::~ModalGuard()
{
    qApp->removeEventFilter(this);
}

bool ModalGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (!widget->isWindow())
        return false;
    auto *dialog = qobject_cast<QDialog *>(widget);
    auto *menu = qobject_cast<QMenu *>(widget);
    if (!dialog && !menu && !widget->isModal())
        return false;

    const QString title = widget->windowTitle().isEmpty()
                              ? QString::fromLatin1(widget->metaObject()->className())
                              : widget->windowTitle();
    Q_EMIT dismissed(u"Se cerró una ventana que esperaba una respuesta: %1."_s.arg(title));
    // Closed from its own event loop, once it runs, so exec() returns.
    QPointer<QWidget> guarded(widget);
    QTimer::singleShot(0, this, [guarded] {
        if (!guarded)
            return;
        if (auto *d = qobject_cast<QDialog *>(guarded.data()))
            d->done(QDialog::Rejected);
        else
            guarded->close();
    });
    return false;
}

} // namespace suite
