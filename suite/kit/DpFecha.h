#pragma once

#include <QDate>
#include <QDateEdit>

namespace suite {

// The suite's date picker: always holds a date (an empty or invalid date
// written to it means today), shows dd/MM/yyyy and has a calendar popup.
class dpFecha : public QDateEdit
{
    Q_OBJECT
    Q_PROPERTY(QDate date READ date WRITE setKitDate USER true)
    Q_PROPERTY(bool enabled READ isOwnEnabled WRITE setEnabled)
    Q_PROPERTY(bool tabonenter READ tabonenter WRITE setTabonenter)

public:
    explicit dpFecha(QWidget *parent = nullptr);
    ~dpFecha() override;

    void setKitDate(const QDate &date);
    bool isOwnEnabled() const;
    bool tabonenter() const { return m_tabonenter; }
    void setTabonenter(bool on) { m_tabonenter = on; }

    Q_INVOKABLE void limpia();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_tabonenter = false;
};

} // namespace suite
