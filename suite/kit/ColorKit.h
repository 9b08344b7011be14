#pragma once

#include <QWidget>

namespace suite {

// The suite's colour scheme, an invisible child of a form. aplicacolores()
// gives every kit control of the form's window its font size and the grids
// their alternating row colours (BGR integers, as the suite stores colours).
class colorKIT : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double labelfontsize READ labelfontsize WRITE setLabelfontsize)
    Q_PROPERTY(double textfontsize READ textfontsize WRITE setTextfontsize)
    Q_PROPERTY(int dbgridbackcoloreven READ dbgridbackcoloreven WRITE setDbgridbackcoloreven)
    Q_PROPERTY(int dbgridbackcolorodd READ dbgridbackcolorodd WRITE setDbgridbackcolorodd)

public:
    explicit colorKIT(QWidget *parent = nullptr);
    ~colorKIT() override;

    double labelfontsize() const { return m_labelfontsize; }
    void setLabelfontsize(double points) { m_labelfontsize = points; }
    double textfontsize() const { return m_textfontsize; }
    void setTextfontsize(double points) { m_textfontsize = points; }
    int dbgridbackcoloreven() const { return m_even; }
    void setDbgridbackcoloreven(int bgr) { m_even = bgr; }
    int dbgridbackcolorodd() const { return m_odd; }
    void setDbgridbackcolorodd(int bgr) { m_odd = bgr; }

    Q_INVOKABLE void aplicacolores();

private:
    double m_labelfontsize = 8.25;
    double m_textfontsize = 8.25;
    int m_even = 16777215;
    int m_odd = 15527663;
};

} // namespace suite
