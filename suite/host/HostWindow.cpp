#include "suite/host/HostWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

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
    addNotice(u"avisoSoloConsulta"_s, u"Solo consulta: "_s + reason);
    setWindowTitle(windowTitle() + u" (solo consulta)"_s);
}

void HostWindow::showSchemaNotices(const QStringList &notices)
{
    // A notice names every clashing row; a screenful of them would bury the screen.
    constexpr int MostLines = 6;
    for (const QString &notice : notices) {
        QStringList lines = notice.split(u'\n');
        if (lines.size() > MostLines) {
            const qsizetype more = lines.size() - MostLines;
            lines.resize(MostLines);
            lines.append(u"  … y %1 más"_s.arg(more));
        }
        addNotice(u"avisoEsquema"_s, u"Aviso: "_s + lines.join(u'\n'));
    }
}

void HostWindow::addNotice(const QString &name, const QString &text)
{
    QWidget *notices = menuWidget();
    if (!notices) {
        notices = new QWidget(this);
        auto *layout = new QVBoxLayout(notices);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        setMenuWidget(notices);
    }
    auto *notice = new QLabel(text, notices);
    notice->setObjectName(name);
    notice->setWordWrap(true);
    notice->setStyleSheet(u"QLabel { background: #fff3cd; color: #5c4400; padding: 3px 6px; font-weight: bold; }"_s);
    notices->layout()->addWidget(notice);
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
