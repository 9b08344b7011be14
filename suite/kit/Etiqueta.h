#pragma once

#include <QLabel>
#include <QString>

namespace suite {

// The suite's label: `caption` is its text, `idetiqueta` the id under which
// the suite's caption catalogue knows it.
class Etiqueta : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QString idetiqueta READ idetiqueta WRITE setIdetiqueta)
    Q_PROPERTY(int alignment READ kitAlignment WRITE setKitAlignment)
    Q_PROPERTY(bool enabled READ isOwnEnabled WRITE setEnabled)

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

private:
    QString m_idetiqueta;
};

} // namespace suite
