#pragma once

#include <QPageLayout>

namespace suite {

// What the six numbers of Reporte::ImprimeTexto select, in call order:
//   left, top   offset of the print on the label, mm (moves it right/down;
//               negative moves it left/up, down to the label's edge)
//   width, height  of the label, mm; -1 (or any value <= 0): 80 x 40
//   points      font size of the text; <= 0: 8
//   copies      how many labels; <= 0: 1
class LabelSetup
{
public:
    static constexpr double DefaultWidthMm = 80;
    static constexpr double DefaultHeightMm = 40;
    static constexpr double DefaultPoints = 8;
    static constexpr double EdgeMm = 2.5; // blank border kept inside the label's edge

    LabelSetup(double leftMm, double topMm, double widthMm, double heightMm, double points, double copies);

    QPageLayout pageLayout() const; // SuiteError when the offsets leave no room
    double points() const { return m_points; }
    int copies() const { return m_copies; }

private:
    double m_left;
    double m_top;
    double m_width;
    double m_height;
    double m_points;
    int m_copies;
};

} // namespace suite
