// The strip stretches with the window; frames, bars, lists and grid follow.
#include "ScreenFixture.h"

#include "suite/kit/Twips.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_screen_resize : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stretches_data();
    void stretches();
    void positionsAndToolbarStay();
    void tinyWindowKeepsSizes();
    void refusedStepDoesNotStopTheRest();
};

namespace {
QSizeF size(ScreenFixture &f, const char *name)
{
    return suite::twipsGeometry(f.get(QString::fromLatin1(name))).size();
}
} // namespace

void tst_screen_resize::stretches_data()
{
    QTest::addColumn<QSizeF>("client");
    QTest::addColumn<QSizeF>("strip");
    QTest::addColumn<double>("frameHeight");
    QTest::addColumn<double>("listHeight");
    QTest::addColumn<double>("gridHeight");

    QTest::newRow("design") << QSizeF(11745, 8250) << QSizeF(11505, 6950) << 6590.0 << 4760.0 << 3680.0;
    QTest::newRow("larger") << QSizeF(15000, 9000) << QSizeF(14760, 7700) << 7340.0 << 5510.0 << 4430.0;
    QTest::newRow("short") << QSizeF(9000, 6000) << QSizeF(8760, 4700) << 4340.0 << 2510.0 << 1430.0;
}

void tst_screen_resize::stretches()
{
    QFETCH(QSizeF, client);
    QFETCH(QSizeF, strip);
    QFETCH(double, frameHeight);
    QFETCH(double, listHeight);
    QFETCH(double, gridHeight);

    ScreenFixture f;
    QVERIFY(f.showActive());
    f.form().setClientSizeTwips(client.width(), client.height());
    QTRY_COMPARE(f.form().scaleWidth(), client.width());
    QCOMPARE(f.form().scaleHeight(), client.height());

    QCOMPARE(size(f, "ssTabKit"), strip);
    for (int tab = 0; tab < 4; ++tab) {
        QCOMPARE(suite::twipsGeometry(f.get(u"Fr%1"_s.arg(tab))).size(), QSizeF(strip.width(), frameHeight));
        QCOMPARE(suite::twipsGeometry(f.get(u"Sh%1"_s.arg(tab))).size(), QSizeF(strip.width(), 135));
    }
    QCOMPARE(size(f, "lvActivoFijoContable"), QSizeF(6495, listHeight));
    QCOMPARE(size(f, "lvActivoFijoFiscal"), QSizeF(6495, listHeight));
    QCOMPARE(size(f, "ssDetalle"), QSizeF(strip.width(), gridHeight));
}

void tst_screen_resize::positionsAndToolbarStay()
{
    ScreenFixture f;
    QVERIFY(f.showActive());
    f.form().setClientSizeTwips(16005, 9990);
    QTRY_COMPARE(f.form().scaleWidth(), 16005.0);
    QCOMPARE(suite::twipsGeometry(f.get(u"Controles"_s)), QRectF(0, 0, 11745, 960));
    QCOMPARE(suite::twipsGeometry(f.get(u"ssTabKit"_s)).topLeft(), QPointF(120, 1200));
    QCOMPARE(suite::twipsGeometry(f.get(u"Fr1"_s)).topLeft(), QPointF(0, 360));
    QCOMPARE(suite::twipsGeometry(f.get(u"Sh3"_s)).topLeft(), QPointF(0, 330));
    QCOMPARE(suite::twipsGeometry(f.get(u"lvActivoFijoFiscal"_s)).topLeft(), QPointF(7080, 1680));
    QCOMPARE(suite::twipsGeometry(f.get(u"ssDetalle"_s)).topLeft(), QPointF(0, 2760));
    // The pixels follow the twips.
    QWidget *strip = f.get(u"ssTabKit"_s);
    QCOMPARE(strip->width(), qRound(suite::twipsToPixelsX(strip, 16005 - 240)));
}

void tst_screen_resize::tinyWindowKeepsSizes()
{
    ScreenFixture f;
    QVERIFY(f.showActive());
    const QStringList names = {u"ssTabKit"_s, u"Fr0"_s, u"Fr1"_s, u"Fr2"_s, u"Fr3"_s, u"Sh0"_s, u"Sh3"_s,
                               u"lvActivoFijoContable"_s, u"lvActivoFijoFiscal"_s, u"ssDetalle"_s};
    QList<QRectF> before;
    for (const QString &name : names)
        before << suite::twipsGeometry(f.get(name));

    // Too small for the margins in both directions: every size is refused.
    f.form().setClientSizeTwips(150, 600);
    QTRY_COMPARE(f.form().scaleWidth(), 150.0);
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(suite::twipsGeometry(f.get(names[i])), before[i]);

    // And back: the layout recovers.
    f.form().setClientSizeTwips(11745, 8250);
    QTRY_COMPARE(f.form().scaleWidth(), 11745.0);
    QCOMPARE(size(f, "ssTabKit"), QSizeF(11505, 6950));
}

void tst_screen_resize::refusedStepDoesNotStopTheRest()
{
    ScreenFixture f;
    QVERIFY(f.showActive());
    // Wide but too short: the strip's height is refused, its width and every
    // later width still follow.
    f.form().setClientSizeTwips(14745, 900);
    QTRY_COMPARE(f.form().scaleWidth(), 14745.0);
    QCOMPARE(size(f, "ssTabKit"), QSizeF(14505, 6950));
    QCOMPARE(size(f, "Fr2"), QSizeF(14505, 6590));
    QCOMPARE(size(f, "Sh2"), QSizeF(14505, 135));
    QCOMPARE(size(f, "lvActivoFijoContable"), QSizeF(6495, 4760));
    QCOMPARE(size(f, "ssDetalle"), QSizeF(14505, 3680));
}

QTEST_MAIN(tst_screen_resize)
#include "tst_screen_resize.moc"
