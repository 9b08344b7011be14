// Renders each tab of the started screen at the design size and checks what a
// person would look for: the coloured bar shows, no two controls overlap, no
// control runs out of its container, captions fit. (The pictures in docs/
// show a loaded asset: scripts/docs-pictures.sh takes them.)
#include "ScreenFixture.h"

#include "suite/kit/Etiqueta.h"
#include "suite/kit/SsTbKit.h"

#include <QImage>

using namespace Qt::StringLiterals;

class tst_screen_pictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tab_data()
    {
        QTest::addColumn<int>("tab");
        const QStringList tabs = {u"General"_s, u"Contables"_s, u"Depreciación"_s, u"Datos de usuario"_s};
        for (int tab = 0; tab < tabs.size(); ++tab)
            QTest::newRow(qPrintable(tabs[tab])) << tab;
    }

    void tab()
    {
        QFETCH(int, tab);
        ScreenFixture f;
        QVERIFY(f.showActive());
        f.get<suite::ssTbKit>(u"ssTabKit"_s)->setTab(tab);
        QApplication::processEvents();
        QWidget *frame = f.get(u"Fr%1"_s.arg(tab));
        QWidget *bar = f.get(u"Sh%1"_s.arg(tab));
        QVERIFY(frame->isVisible() && bar->isVisible());

        // The bar is drawn, in its colour, over the top of the page.
        const QImage picture = f.form().grab().toImage();
        const QPoint onBar = bar->mapTo(&f.form(), bar->rect().center());
        QCOMPARE(picture.pixelColor(onBar * picture.devicePixelRatio()).rgb(), QColor(0xB4, 0xC9, 0x4B).rgb());

        // Side by side, never on top of each other, and inside their container
        // (frames that hold others and the bars are containers, not fields).
        for (QWidget *container : tab == 0 ? QList<QWidget *>{frame, f.get(u"frmEmpleado"_s)} : QList<QWidget *>{frame}) {
            QList<QWidget *> all;
            for (QWidget *w : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (!w->objectName().isEmpty() && w->isVisible())
                    all << w;
            }
            QVERIFY(!all.isEmpty());
            for (int i = 0; i < all.size(); ++i) {
                for (int j = i + 1; j < all.size(); ++j) {
                    QVERIFY2(!all[i]->geometry().intersects(all[j]->geometry()),
                             qPrintable(all[i]->objectName() + u" / "_s + all[j]->objectName()));
                }
                // As designed, the tax list runs past its page at the design width
                // (it shows whole from a client width of 13815 twips).
                QVERIFY2(all[i]->objectName() == u"lvActivoFijoFiscal"_s || container->rect().contains(all[i]->geometry()),
                         qPrintable(all[i]->objectName()));
            }
        }
        for (suite::Etiqueta *label : frame->findChildren<suite::Etiqueta *>()) {
            QVERIFY2(!label->isVisible()
                         || label->fontMetrics().horizontalAdvance(label->caption()) <= label->contentsRect().width(),
                     qPrintable(label->caption()));
        }
    }
};

QTEST_MAIN(tst_screen_pictures)
#include "tst_screen_pictures.moc"
