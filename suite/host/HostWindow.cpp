#include "suite/host/HostWindow.h"

#include <QCloseEvent>
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

void HostWindow::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Q_EMIT unloaded();
}

} // namespace suite
