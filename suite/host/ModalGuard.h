#pragma once

#include <QObject>
#include <QString>

namespace suite {

// In a scripted run nothing may wait for a person: any dialog or menu that
// opens (messages and search dialogs go through the script's presenters and
// never do) is closed as soon as its event loop runs, and reported.
class ModalGuard : public QObject
{
    Q_OBJECT

public:
    explicit ModalGuard(QObject *parent = nullptr);
    ~ModalGuard() override;

Q_SIGNALS:
    void dismissed(const QString &description);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace suite
