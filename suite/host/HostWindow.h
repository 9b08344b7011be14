#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>

namespace suite {

// The host's main window, handed to the screen as its parent object (Padre).
// The screen reads its "Transaccion" and unloads it by closing it; its status
// line says what the screen's last command did.
class HostWindow : public QMainWindow
{
    Q_OBJECT
    Q_PROPERTY(QString Transaccion READ Transaccion WRITE setTransaccion)

public:
    explicit HostWindow(QWidget *parent = nullptr);

    QString Transaccion() const { return m_transaccion; }
    void setTransaccion(const QString &transaccion) { m_transaccion = transaccion; }

    void showStatus(const QString &text);
    // The database takes no writes, for reason: said in the title and in a
    // line above the screen for as long as the window is open. Nothing when
    // reason is empty.
    void showReadOnly(const QString &reason);
    // What the database's upgrade left undone and why (rows that clash with
    // a unique index): said in a line above the screen, the first rows of
    // each named, until someone corrects them and the upgrade completes.
    void showSchemaNotices(const QStringList &notices);
    // What that line adds to the height of a window this wide (0 when none).
    int noticeHeight(int width) const;

Q_SIGNALS:
    void statusShown(const QString &text);
    // The window was closed: the screen's session is over.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // One line more above the screen, where the status line's messages never cover it.
    void addNotice(const QString &name, const QString &text);

    QString m_transaccion;
};

} // namespace suite
