#pragma once

#include <QColor>
#include <QWidget>

namespace suite {

// The suite's colour scheme, an invisible child of a form. aplicacolores()
// gives the form's window its back colour, disabled controls a text that stays
// readable (at least 4.5:1 on their fill), every kit control its font size and
// the grids their alternating row colours (BGR integers, as the suite stores
// colours).
class colorKIT : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double labelfontsize READ labelfontsize WRITE setLabelfontsize)
    Q_PROPERTY(double textfontsize READ textfontsize WRITE setTextfontsize)
    Q_PROPERTY(int dbgridbackcoloreven READ dbgridbackcoloreven WRITE setDbgridbackcoloreven)
    Q_PROPERTY(int dbgridbackcolorodd READ dbgridbackcolorodd WRITE setDbgridbackcolorodd)
    Q_PROPERTY(int formbackcolor READ formbackcolor WRITE setFormbackcolor)

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
    int formbackcolor() const { return m_form; }
    void setFormbackcolor(int bgr) { m_form = bgr; }

    Q_INVOKABLE void aplicacolores();

    // Disabled text and the fill of a disabled box: 8.2:1.
    static constexpr QRgb DisabledText = 0xFF444444;
    static constexpr QRgb DisabledBase = 0xFFECECEC;

private:
    double m_labelfontsize = 8.25;
    double m_textfontsize = 8.25;
    int m_even = 16777215;
    int m_odd = 15527663;
    int m_form = 0xF5F5F5;
};

} // namespace suite
