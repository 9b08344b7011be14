#pragma once

#include <QWidget>

namespace suite {

// An opaque rectangle (the coloured bars of the forms). Colours are BGR
// integers, as the suite stores them (&H004BC9B4 is RGB #B4C94B).
class Shape : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int backcolor READ backcolor WRITE setBackcolor)
    Q_PROPERTY(int bordercolor READ bordercolor WRITE setBordercolor)

public:
    explicit Shape(QWidget *parent = nullptr);
    ~Shape() override;

    int backcolor() const { return m_backcolor; }
    void setBackcolor(int bgr);
    int bordercolor() const { return m_bordercolor; }
    void setBordercolor(int bgr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_backcolor = 0xFFFFFF;
    int m_bordercolor = 0;
};

} // namespace suite
