#pragma once

#include <QRadioButton>

namespace suite {

// An option button: `value` is whether it is selected. Click is raised when
// it becomes selected, by the user or by writing `value` true; writing false
// deselects it even though it is exclusive within its container. It shows a
// focus mark whenever it has the focus, however the focus came.
class OptionButton : public QRadioButton
{
    Q_OBJECT
    Q_PROPERTY(bool value READ value WRITE setValue)
    Q_PROPERTY(QString caption READ text WRITE setText)
    Q_PROPERTY(bool enabled READ isOwnEnabled WRITE setEnabled)

public:
    explicit OptionButton(QWidget *parent = nullptr);
    ~OptionButton() override;

    bool value() const { return isChecked(); }
    void setValue(bool on);
    bool isOwnEnabled() const;

    // Empties it: deselected.
    Q_INVOKABLE void limpia() { setValue(false); }

Q_SIGNALS:
    void Click();
    void KeyDown(int keyCode);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace suite
