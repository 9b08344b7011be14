#pragma once

#include <QLabel>
#include <QString>

namespace suite {

// The suite's label: `caption` is its text, `idetiqueta` the id under which
// the suite's caption catalogue knows it; `forecolor` (BGR, -1: the form's)
// and `fontbold` make a label stand out.
class Etiqueta : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QString idetiqueta READ idetiqueta WRITE setIdetiqueta)
    Q_PROPERTY(int alignment READ kitAlignment WRITE setKitAlignment)
    Q_PROPERTY(bool enabled READ isOwnEnabled WRITE setEnabled)
    Q_PROPERTY(int forecolor READ forecolor WRITE setForecolor)
    Q_PROPERTY(bool fontbold READ fontbold WRITE setFontbold)

public:
    explicit Etiqueta(QWidget *parent = nullptr);
    ~Etiqueta() override;

    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    QString idetiqueta() const { return m_idetiqueta; }
    void setIdetiqueta(const QString &id) { m_idetiqueta = id; }
    int kitAlignment() const;          // 0 left, 1 right, 2 centre
    void setKitAlignment(int alignment);
    bool isOwnEnabled() const;
    int forecolor() const { return m_forecolor; }
    void setForecolor(int bgr);
    bool fontbold() const { return font().bold(); }
    void setFontbold(bool on);

private:
    QString m_idetiqueta;
    int m_forecolor = -1;
};

} // namespace suite
