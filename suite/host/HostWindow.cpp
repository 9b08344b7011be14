#include "suite/host/HostWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace suite {

HostWindow::HostWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_transaccion(u"XB733"_s)
{
    setObjectName(u"Padre"_s);
    statusBar()->setSizeGripEnabled(false);
}

void HostWindow::showStatus(const QString &text)
{
    statusBar()->showMessage(text);
    Q_EMIT statusShown(text);
}

void HostWindow::showReadOnly(const QString &reason)
{
    if (reason.isEmpty())
        return;
    // Above the screen, where the status line's messages never cover it.
    auto *notice = new QLabel(u"Solo consulta: "_s + reason, this);
    notice->setObjectName(u"avisoSoloConsulta"_s);
    notice->setWordWrap(true);
    notice->setStyleSheet(u"QLabel { background: #fff3cd; color: #5c4400; padding: 3px 6px; font-weight: bold; }"_s);
    setMenuWidget(notice);
    setWindowTitle(windowTitle() + u" (solo consulta)"_s);
}

int HostWindow::noticeHeight(int width) const
{
    const QWidget *notice = menuWidget();
    return notice ? notice->heightForWidth(width) : 0;
}

void HostWindow::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Q_EMIT unloaded();
}

} // namespace suite
