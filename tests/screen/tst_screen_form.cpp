// The form in-process, for the detail the scripted host cannot show: which inputs editing enables, where
// start-up puts each variable and what it leaves unset, that it runs once and how it fails, the activation
// focus rule, Enter, the order the responsible type changes things in, and each tab as drawn. (Its
// transaction: tst_shell.)
#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/Etiqueta.h"
#include "suite/kit/ListView.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/ColorKit.h"
#include "tests/support/TestScreen.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QStyle>
#include <QToolButton>
#include <QStyleOptionButton>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

bool own(QWidget *w) { return w->property("enabled").toBool(); }

// WCAG's relative luminance and contrast ratio.
double luminance(QRgb rgb)
{
    auto channel = [](int c) {
        const double v = c / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}
double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// In an area of a picture: its fill (the commonest colour) and the contrast of its text (the pixel
// farthest from the fill) against it.
std::pair<QRgb, double> textContrast(const QImage &picture, const QRect &area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[picture.pixel(x, y) | 0xFF000000];
    }
    QRgb fill = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(fill))
            fill = it.key();
    }
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(it.key(), fill));
    return {fill, best};
}

QString formatoclave(TestScreen &f, const QString &box) { return f.get(box)->property("formatoclave").toString(); }

void focus(QWidget *w)
{
    w->setProperty("enabled", true);
    w->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), w);
}

} // namespace

class tst_screen_form : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editingEnablesEveryInputButDescriptions()
    {
        TestScreen f;
        f.utilerias().HabilitaControles(&f.form(), 1);
        f.utilerias().HabilitaControles(&f.form(), 5);
        // Groups 1 and 5 hold every input but the key box and the descriptions
        // beside type, company, location, supplier and the numbered accounts.
        const QStringList untagged = {u"txtDescripcionEmpleado"_s, u"txtDescripcionCliente"_s, u"txtNContable"_s,
                                      u"txtNCentroCosto"_s, u"txtNProyecto"_s, u"txtNUen"_s};
        for (QWidget *w : f.form().findChildren<QWidget *>()) {
            if (!w->objectName().isEmpty() && (qobject_cast<suite::txtKIT *>(w) || qobject_cast<suite::dpFecha *>(w)
                                               || qobject_cast<suite::OptionButton *>(w) || qobject_cast<suite::DataGrid *>(w)))
                QVERIFY2(own(w) == !untagged.contains(w->objectName()), qPrintable(w->objectName()));
        }
        QVERIFY(own(f.get(u"frmEmpleado"_s)) && own(f.get(u"frmCliente"_s)));
    }

    void variablesReachTheirPlaces()
    {
        // Where each variable goes (a form property, else a box's key pattern),
        // and what is left there when it is unset: the default passed, or "".
        const QList<std::tuple<QString, QString, QString>> places = {
            {u"FTO_ACTIVO_FIJO"_s, u"txt_Af_Cve_Activo_Fijo"_s, u"0000000000"_s}, {u"FTO_EMPRESA"_s, u"txtEmpresa"_s, u"0000"_s},
            {u"FTO_UBICACION_ACTIVO_FIJO"_s, u"txt_Au_Cve_Ubicacion"_s, {}}, {u"FTO_CLIENTE"_s, u"txtClaveCliente"_s, {}},
            {u"FTO_TIPO_ACTIVO_FIJO"_s, u"txt_Ta_Cve_Tipo_ActivoFijo"_s, {}}, {u"FTO_EMPLEADO"_s, u"txtClaveEmpleado"_s, {}},
            {u"FTO_PROVEEDOR"_s, u"txt_Pv_Cve_Proveedor"_s, {}}, {u"FTO_PROYECTO"_s, u"txtProyecto"_s, u"0000000000"_s},
            {u"FTO_UNIDAD_ESTRATEGICA_NEGOCIO"_s, u"txtUen"_s, u"000000"_s},
            // The cost-centre pattern is read twice: once for the variable, once for the box.
            {u"FTO_CENTRO_COSTO"_s, u"txtCentroCosto"_s, u"000000"_s}, {u"FTO_CENTRO_COSTO"_s, u"FormatoCentroCosto"_s, u"000000"_s},
            {u"FTO_EQUIPO"_s, u"FormatoEquipo"_s, u"0000000000"_s}, {u"FTO_VEHICULO"_s, u"FormatoVehiculo"_s, u"0000000000"_s},
            {u"AF_CENTRO_COSTO_DEFAULT"_s, u"CentroCostoDefault"_s, {}}, {u"CAT_TIPO_EQUIPO_DEFAULT"_s, u"TipoEquipoDefault"_s, {}},
            {u"CAT_ETIQUETAS_ACTIVO_FIJO"_s, u"EtiquetasActivoFijo"_s, {}}, {u"CAT_MARCA_EQUIPO_DEFAULT"_s, u"MarcaEquipoDefault"_s, {}},
            {u"CAT_TIPO_VEHICULO_DEFAULT"_s, u"TipoVehiculoDefault"_s, {}},
            {u"CAT_UBICACION_EQUIPO_DEFAULT"_s, u"UbicacionEquipoDefault"_s, {}},
        };
        // Distinct values, so a variable landing in the wrong place shows.
        auto valueOf = [](const QString &variable) { return variable.toLower() + u" ñ"_s; };
        auto read = [](TestScreen &f, const QString &where) {
            const QVariant property = f.form().property(where.toLatin1().constData());
            return property.isValid() ? property.toString() : formatoclave(f, where);
        };
        TestScreen unset;
        TestScreen set;
        for (const auto &[variable, where, whenUnset] : places)
            set.setVariable(variable, valueOf(variable));
        // Another component's option of the same id is not this screen's.
        set.setOption(u"XB734"_s, u"CAT001"_s, u"1"_s);
        QVERIFY(unset.form().ensureLoaded() && set.form().ensureLoaded());
        for (const auto &[variable, where, whenUnset] : places) {
            QVERIFY2(read(unset, where) == whenUnset, qPrintable(where));
            QVERIFY2(read(set, where) == valueOf(variable), qPrintable(where));
        }
        QVERIFY(!set.form().ClaveEditable());
    }

    void startUpRunsOnceOnFirstShow()
    {
        TestScreen f;
        QVERIFY(!f.form().isLoaded());
        f.setVariable(u"FTO_EMPRESA"_s, u"00"_s);
        QVERIFY(f.showActive());
        QVERIFY(f.form().isLoaded());
        f.setVariable(u"FTO_EMPRESA"_s, u"000"_s);
        f.form().hide();
        QVERIFY(f.showActive());
        QVERIFY(f.form().ensureLoaded());
        QCOMPARE(formatoclave(f, u"txtEmpresa"_s), u"00"_s);
    }

    void failingStartUpIsReported()
    {
        TestScreen f;
        f.setVariable(u"CAT_FORZAR_MAYUSCULAS"_s, u"QUIZAS"_s);
        f.setVariable(u"FTO_EMPRESA"_s, u"000"_s);
        f.setOption(u"XB733"_s, u"CAT001"_s, u"SI"_s);
        QSignalSpy failed(&f.form(), &frmXB733::loadFailed);

        f.form().show(); // the first show starts it; nothing escapes the event
        QCOMPARE(failed.count(), 1);
        QVERIFY(!f.form().ensureLoaded());
        QCOMPARE(failed.count(), 1); // not tried again
        QVERIFY2(f.form().loadError().contains(u"QUIZAS"_s), qPrintable(f.form().loadError()));
        QCOMPARE(failed.at(0).at(0).toString(), f.form().loadError());
        // What came before the failure stays set (this screen's own option too); what comes after never ran.
        QVERIFY(formatoclave(f, u"txtEmpresa"_s) == u"000"_s && f.form().ClaveEditable());
        QCOMPARE(f.get<suite::ListView>(u"lvActivoFijoContable"_s)->columnHeaderCount(), 0);
    }

    // Activation puts the focus on the key box unless editing. The form sees keys before its controls:
    // Enter acts as Tab. (Alt with a digit: tst_screen_e2e.)
    void activationFocusAndEnterActsAsTab()
    {
        TestScreen f;
        QVERIFY(f.showActive()); // start-up chose the employee
        QWidget *key = f.get(u"txt_Af_Cve_Activo_Fijo"_s);
        QTRY_COMPARE(QApplication::focusWidget(), key);
        // With the key box disabled (editing) activation leaves the focus alone.
        QWidget *brand = f.get(u"txtMarca"_s);
        brand->setProperty("enabled", true);
        key->setProperty("enabled", false);
        brand->setFocus();
        f.form().Form_Activate();
        QCOMPARE(QApplication::focusWidget(), brand);
        key->setProperty("enabled", true);
        f.form().Form_Activate();
        QCOMPARE(QApplication::focusWidget(), key);

        auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
        // Enter: past the other option of the group, to the responsible's key.
        auto *employee = f.get<suite::OptionButton>(u"opEmpleado"_s);
        auto *client = f.get<suite::OptionButton>(u"opCliente"_s);
        client->setProperty("enabled", true);
        f.get(u"txtClaveEmpleado"_s)->setProperty("enabled", true);
        focus(employee);
        QTest::keyClick(employee, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.get(u"txtClaveEmpleado"_s));
        QVERIFY(employee->value()); // moving on selects nothing
        // Other keys keep their meaning: an arrow moves to the other option and chooses it.
        focus(employee);
        QTest::keyClick(employee, Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), client);
        QVERIFY(client->value());
        // From list to list, and on the strip (keypad Enter is Enter too) without changing its tab.
        strip->setTab(2);
        focus(f.get(u"lvActivoFijoContable"_s));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.get(u"lvActivoFijoFiscal"_s));
        focus(strip);
        QTest::keyClick(strip, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(QApplication::focusWidget() != strip);
        QCOMPARE(strip->tab(), 2);
    }

    void responsibleOrder()
    {
        TestScreen f;
        QVERIFY(f.form().ensureLoaded()); // employee chosen
        auto text = [&](const QString &name) { return f.get(name)->property("text").toString(); };
        f.get(u"txtClaveEmpleado"_s)->setProperty("text", u"E001"_s);
        f.get(u"txtDescripcionEmpleado"_s)->setProperty("text", u"Ana"_s);

        // What happens to the frames, in order; "early" if the employee's boxes still held something then.
        QStringList log;
        struct Watch : QObject
        {
            std::function<void(QObject *, QEvent *)> seen;
            bool eventFilter(QObject *o, QEvent *e) override { seen(o, e); return false; }
        } watch;
        const QMap<QEvent::Type, QString> kinds = {{QEvent::HideToParent, u"hidden"_s}, {QEvent::ShowToParent, u"shown"_s}};
        watch.seen = [&](QObject *o, QEvent *e) {
            const QString what = e->type() != QEvent::EnabledChange ? kinds.value(e->type())
                                 : own(qobject_cast<QWidget *>(o))  ? u"enabled"_s : u"disabled"_s;
            const bool early = !(text(u"txtClaveEmpleado"_s) + text(u"txtDescripcionEmpleado"_s)).isEmpty();
            if (!what.isEmpty())
                log << o->objectName() + u' ' + what + (early ? u" early"_s : QString());
        };
        f.get(u"frmEmpleado"_s)->installEventFilter(&watch);
        f.get(u"frmCliente"_s)->installEventFilter(&watch);

        auto *client = f.get<suite::OptionButton>(u"opCliente"_s);
        client->setValue(true);
        QCOMPARE(log, (QStringList{u"frmEmpleado disabled"_s, u"frmEmpleado hidden"_s, u"frmCliente enabled"_s,
                                   u"frmCliente shown"_s}));
        // Choosing the option already chosen changes nothing.
        f.get(u"txtClaveCliente"_s)->setProperty("text", u"C001"_s);
        log.clear();
        client->setValue(true);
        QCOMPARE(text(u"txtClaveCliente"_s), u"C001"_s);
        QCOMPARE(log, QStringList());
    }

    // A record is shown with its fields disabled: every value must still read at 4.5:1 or better, on a
    // fill that is not an editable box's white. Measured on the screen as drawn, tab by tab.
    void shownValuesAreReadable()
    {
        TestScreen f;
        QVERIFY(f.showActive());
        auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
        const QRgb editable = f.form().palette().color(QPalette::Active, QPalette::Base).rgb();
        int measured = 0;
        for (int tab = 0; tab < 4; ++tab) {
            strip->setTab(tab);
            // What a loaded asset shows, in every box of the page (disabled, as in Browse).
            QList<QWidget *> shown;
            for (QWidget *w : f.get(u"Fr%1"_s.arg(tab))->findChildren<QWidget *>()) {
                auto *box = qobject_cast<suite::txtKIT *>(w);
                if (box && box->isVisibleTo(&f.form()) && !box->isEnabled()) {
                    box->setText(box->numericKind() == suite::txtKIT::NotNumeric ? u"Servidor 2U Mj"_s : u"1,234"_s);
                    shown << box;
                } else if (qobject_cast<suite::OptionButton *>(w) && w->isVisibleTo(&f.form()) && !w->isEnabled()) {
                    shown << w;
                }
            }
            QApplication::processEvents();
            const QImage picture = f.form().grab().toImage();
            const qreal ratio = picture.devicePixelRatio();
            for (QWidget *w : std::as_const(shown)) {
                // Inside the frame (whose line is not text), over the caption of an option button.
                QRect area = w->rect().adjusted(3, 3, -3, -3);
                if (auto *option = qobject_cast<suite::OptionButton *>(w)) {
                    QStyleOptionButton o;
                    o.initFrom(option);
                    o.text = option->text();
                    area = option->style()->subElementRect(QStyle::SE_RadioButtonContents, &o, option) & area;
                }
                const QRect onPicture(w->mapTo(&f.form(), area.topLeft()) * ratio, area.size() * ratio);
                const auto [fill, ratioFound] = textContrast(picture, onPicture);
                QVERIFY2(ratioFound >= 4.5, qPrintable(u"%1: %2:1"_s.arg(w->objectName()).arg(ratioFound, 0, 'f', 1)));
                const bool framed = qobject_cast<suite::txtKIT *>(w) && !w->property("subrayar").toBool();
                QVERIFY2(!framed || fill != editable, qPrintable(w->objectName() + u" looks editable"_s));
                ++measured;
            }
        }
        QVERIFY2(measured >= 30, qPrintable(QString::number(measured)));
    }

    // What a screen reader finds: every control that can take the focus, reached through the accessibility
    // tree from the form, has a name and a role; the names come from the labels; read-only boxes are read-only;
    // the strip is a list of its four tabs.
    void namedForScreenReaders()
    {
        TestScreen f;
        QVERIFY(f.showActive());
        QHash<QObject *, QAccessibleInterface *> reached;
        std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
            if (!node || !node->isValid())
                return;
            if (node->object())
                reached.insert(node->object(), node);
            for (int i = 0; i < node->childCount(); ++i)
                walk(node->child(i));
        };
        walk(QAccessible::queryAccessibleInterface(&f.form()));

        int focusable = 0;
        const QList<QWidget *> all = f.form().findChildren<QWidget *>();
        for (QWidget *w : all) {
            // The form's own controls and the toolbar's buttons; not the parts inside a control.
            const bool designed = w->property("tabindex").isValid() || qobject_cast<suite::Controles *>(w->parentWidget());
            const bool hiddenButton = w->isHidden() && qobject_cast<suite::Controles *>(w->parentWidget());
            if (!designed || w->focusPolicy() == Qt::NoFocus || hiddenButton)
                continue;
            ++focusable;
            QAccessibleInterface *node = reached.value(w);
            QVERIFY2(node, qPrintable(w->objectName() + u" is not in the tree"_s));
            QVERIFY2(!node->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(w->objectName() + u" has no name"_s));
            QVERIFY2(node->role() != QAccessible::NoRole && node->role() != QAccessible::Client, qPrintable(w->objectName()));
        }
        QVERIFY2(focusable >= 35, qPrintable(QString::number(focusable)));

        auto name = [&](const QString &control) { return reached.value(f.get(control))->text(QAccessible::Name); };
        QCOMPARE(name(u"txt_Af_Cve_Activo_Fijo"_s), u"Clave activo fijo"_s);
        QCOMPARE(name(u"dpFechaCompra"_s), u"Fecha de compra"_s);
        QCOMPARE(name(u"txtNCuentaContable1"_s), u"Cta. contable 1 (descripción)"_s);
        QCOMPARE(name(u"lvActivoFijoContable"_s) + u'|' + name(u"lvActivoFijoFiscal"_s) + u'|' + name(u"ssDetalle"_s),
                 u"Depreciación contable|Depreciación fiscal|Distribución por centro de costo"_s);
        QCOMPARE(name(u"opEmpleado"_s) + u'|' + reached.value(f.get(u"opEmpleado"_s))->text(QAccessible::Description),
                 u"Empleado|Tipo de responsable"_s);
        for (const QString &box : {u"txt_Ta_Descripcion"_s, u"txtDepreciacionFiscalFactor"_s}) {
            const QAccessible::State state = reached.value(f.get(box))->state();
            QVERIFY2(state.readOnly && !state.editable, qPrintable(box));
        }
        QVERIFY(reached.value(f.get(u"txtMarca"_s))->state().editable);

        QAccessibleInterface *strip = reached.value(f.get(u"ssTabKit"_s));
        QCOMPARE(strip->role(), QAccessible::PageTabList);
        QStringList tabs;
        for (int i = 0; i < strip->childCount(); ++i) {
            QAccessibleInterface *tab = strip->child(i);
            if (tab->role() == QAccessible::PageTab)
                tabs << tab->text(QAccessible::Name) + (tab->state().selected ? u"*"_s : QString());
        }
        QCOMPARE(tabs, (QStringList{u"General*"_s, u"Contables"_s, u"Depreciación"_s, u"Datos de usuario"_s}));
        // Pressing a tab through its action selects it, as a click does.
        strip->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(f.get<suite::ssTbKit>(u"ssTabKit"_s)->tab(), 2);
    }

    // Each tab at the design size as a person would look at it: the coloured bar shows, no two controls
    // overlap, none runs out of its container, captions fit. (The pictures in docs/ show a loaded asset:
    // scripts/docs-pictures.sh takes them.)
    void tabsAsDrawn_data()
    {
        QTest::addColumn<int>("tab");
        const QStringList tabs = {u"General"_s, u"Contables"_s, u"Depreciación"_s, u"Datos de usuario"_s};
        for (int tab = 0; tab < tabs.size(); ++tab)
            QTest::newRow(qPrintable(tabs[tab])) << tab;
    }

    void tabsAsDrawn()
    {
        QFETCH(int, tab);
        TestScreen f;
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
        // The toolbar with every command and the three two-line captions: each button whole, inside it.
        auto *toolbar = f.get<suite::Controles>(u"Controles"_s);
        for (const char *flag : {"modificarenabled", "eliminarenabled", "informacionenabled"})
            toolbar->setProperty(flag, true);
        toolbar->setProperty("b1caption", u"Carta responsiva"_s);
        toolbar->setProperty("b2caption", u"Imprimir etiquetas"_s);
        toolbar->setProperty("b3caption", u"Generar equipo"_s);
        // Narrower than the buttons with their captions, they show their icons alone, still whole and side by side.
        const int designWidth = toolbar->width();
        for (const int width : {designWidth, 420, designWidth}) {
            toolbar->resize(width, toolbar->height());
            QApplication::processEvents();
            const QList<QToolButton *> buttons = toolbar->findChildren<QToolButton *>();
            QList<QWidget *> shown = {toolbar->findChild<QWidget *>(u"caption"_s)};
            for (QToolButton *b : buttons) {
                if (!b->isVisible())
                    continue;
                shown << b;
                QVERIFY2(toolbar->rect().contains(b->geometry()) && b->height() >= b->sizeHint().height()
                             && b->width() >= b->sizeHint().width() && !b->accessibleName().isEmpty(),
                         qPrintable(b->text()));
                QCOMPARE(b->toolButtonStyle(), width == designWidth ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
            }
            for (int i = 0; i < shown.size(); ++i) {
                for (int j = i + 1; j < shown.size(); ++j)
                    QVERIFY2(!shown[i]->geometry().intersects(shown[j]->geometry()), qPrintable(shown[j]->objectName()));
            }
        }
        for (suite::Etiqueta *label : frame->findChildren<suite::Etiqueta *>()) {
            QVERIFY2(!label->isVisible()
                         || label->fontMetrics().horizontalAdvance(label->caption()) <= label->contentsRect().width(),
                     qPrintable(label->caption()));
        }
    }
};

QTEST_MAIN(tst_screen_form)
#include "tst_screen_form.moc"
