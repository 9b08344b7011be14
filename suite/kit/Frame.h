#pragma once

#include <QFrame>

namespace suite {

// A captionless container. Disabling it disables what it holds, as the
// suite's forms expect of their frames.
class Frame : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isOwnEnabled WRITE setEnabled)

public:
    explicit Frame(QWidget *parent = nullptr);
    ~Frame() override;

    bool isOwnEnabled() const;
};

} // namespace suite
