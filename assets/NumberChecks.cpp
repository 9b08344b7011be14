#include "assets/NumberChecks.h"

#include "assets/AssetModel.h"
#include "assets/AssetScreen.h"
#include "assets/ScreenCodes.h"
#include "suite/data/Connection.h"
#include "suite/data/DecimalText.h"
#include "suite/data/Schema.h"
#include "suite/kit/Controles.h"
#include "suite/kit/TxtKit.h"

#include <QApplication>
#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString Suite = u"Talvexor"_s;
const QString BoxLeftId = u"ERR-ID:7500052"_s;
const QString BoxAcceptedId = u"ERR-ID:7500053"_s;
const QString BeyondColumnId = u"ERR-ID:7500054"_s;
const QString ShareLeftId = u"ERR-ID:7500055"_s;

// The numeric boxes and the labels that name them, in the order the accept
// checks them.
struct NumberField
{
    QString control;
    QString label;
};
const NumberField Fields[] = {
    {u"txtVidaUtil"_s, u"Etiqueta15"_s},
    {u"txt_Costo_Original"_s, u"Label16"_s},
    {u"txtUser3"_s, u"Label29"_s},
    {u"txtUser4"_s, u"Label28"_s},
};

// What a double keeps exactly, whatever the number.
constexpr int DoubleDigits = 15;
// The 16-bit integer the useful life is written as.
constexpr int LifeMin = -32768;
constexpr int LifeMax = 32767;

// The NUMERIC columns as the schema declares them: NUMERIC(18,4) for
// amounts, NUMERIC(18,9) for shares.
struct Scale
{
    int whole;
    int decimals;
};
std::optional<Scale> numericScale(suite::ColumnKind kind)
{
    if (kind == suite::ColumnKind::Money)
        return Scale{14, 4};
    if (kind == suite::ColumnKind::Percent)
        return Scale{9, 9};
    return std::nullopt;
}

const AssetColumn &columnOf(const QString &control)
{
    for (const AssetColumn &c : AssetModel::assetColumns()) {
        if (c.control == control)
            return c;
    }
    return AssetModel::column(control); // throws, naming it
}

// Long pastes are shown by their start.
QString shownText(const QString &text)
{
    return text.size() > 40 ? text.left(40) + u"…"_s : text;
}

} // namespace

NumberChecks::NumberChecks(const AssetScreen &screen)
    : m_screen(screen)
{
}

QString NumberChecks::columnRefusal(const suite::ColumnDef &column, const QString &decimal, bool numericAsDouble)
{
    if (const std::optional<Scale> scale = numericScale(column.kind)) {
        const int decimals = suite::DecimalText::decimals(decimal);
        const int whole = suite::DecimalText::wholeDigits(decimal);
        if (decimals > scale->decimals)
            return u"tiene %1 decimales y se guardan %2"_s.arg(decimals).arg(scale->decimals);
        if (whole > scale->whole)
            return u"tiene %1 cifras enteras y caben %2"_s.arg(whole).arg(scale->whole);
        if (!numericAsDouble)
            return {};
    } else if (column.kind != suite::ColumnKind::Double) {
        return {};
    }
    // Kept as a double: the number must be one a double reads back as written
    // (any of up to fifteen significant digits is).
    if (suite::DecimalText::fitsDouble(decimal))
        return {};
    const int digits = suite::DecimalText::significantDigits(decimal);
    if (digits > DoubleDigits)
        return u"tiene %1 cifras significativas y se guardan exactas hasta %2"_s.arg(digits).arg(DoubleDigits);
    return u"es demasiado grande o demasiado pequeño para guardarse"_s;
}

bool NumberChecks::numericAsDouble() const
{
    // SQLite keeps every number of a NUMERIC column as a double.
    return m_screen.connection().backend() == u"sqlite"_s;
}

QString NumberChecks::caption(const QString &control) const
{
    for (const NumberField &f : Fields) {
        if (f.control == control) {
            QString text = m_screen.control(f.label).property("caption").toString().trimmed();
            if (text.endsWith(u':'))
                text.chop(1);
            return text;
        }
    }
    return control;
}

QString NumberChecks::unreadable(const QString &control) const
{
    const suite::txtKIT &box = m_screen.box(control);
    const QString hint = box.numericKind() == suite::txtKIT::Integer
        ? u"Escriba un número entero, sin decimales; por ejemplo 25."_s
        : u"Use el punto para los decimales y la coma solo para separar miles; por ejemplo 1,234.56."_s;
    return u"%1: «%2» no es un número como los escribe la pantalla. %3"_s.arg(caption(control), shownText(box.text()),
                                                                            hint);
}

bool NumberChecks::focusWentToToolbar() const
{
    const QWidget *focus = QApplication::focusWidget();
    const QWidget &toolbar = m_screen.toolbar();
    return focus && (focus == &toolbar || toolbar.isAncestorOf(focus));
}

void NumberChecks::boxLeft(const QString &control) const
{
    if (focusWentToToolbar())
        return;
    // Said once the focus has settled, not in the middle of its move.
    QMetaObject::invokeMethod(&m_screen.form(), [this, control] {
        try {
            const suite::txtKIT &box = m_screen.box(control);
            if (box.holdsNumber() || !box.isEnabled() || !m_screen.toolbar().editando())
                return;
            m_screen.message(unreadable(control), Exclamation, Suite, BoxLeftId);
        } catch (const std::exception &e) {
            qWarning("%s: %s", qPrintable(control), e.what());
        }
    }, Qt::QueuedConnection);
}

QString NumberChecks::shareRefusal(const std::optional<QString> &value, const QString &shown) const
{
    if (!value) {
        return u"El porcentaje «%1» no es un número: escriba solo cifras y un punto decimal; por ejemplo 33.5."_s
            .arg(shownText(shown));
    }
    if (value->isEmpty())
        return {};
    const suite::ColumnDef *column = suite::Schema::table(QString::fromLatin1(AssetModel::DistributionTable))
                                         ->column(u"Acc_Porcentaje"_s);
    const QString why = columnRefusal(*column, *value, numericAsDouble());
    return why.isEmpty() ? QString()
                         : u"El porcentaje %1 no se puede guardar tal como está escrito: %2."_s.arg(*value, why);
}

bool NumberChecks::shareLeft(const QVariant &share) const
{
    const QString why = shareProblem(share);
    if (why.isEmpty())
        return true;
    if (!focusWentToToolbar()) {
        QMetaObject::invokeMethod(&m_screen.form(), [this, why] {
            try {
                m_screen.message(why, Exclamation, Suite, ShareLeftId);
            } catch (const std::exception &e) {
                qWarning("ssDetalle: %s", e.what());
            }
        }, Qt::QueuedConnection);
    }
    return false;
}

QString NumberChecks::shareProblem(const QVariant &share) const
{
    if (!share.isValid() || share.isNull() || share.toString().isEmpty())
        return {};
    return shareRefusal(suite::DecimalText::fromVariant(share), share.toString());
}

std::optional<NumberChecks::Problem> NumberChecks::firstFieldProblem() const
{
    for (const NumberField &f : Fields) {
        const suite::txtKIT &box = m_screen.box(f.control);
        const AssetColumn &column = columnOf(f.control);
        if (!box.holdsNumber())
            return Problem{f.control, column.tab, unreadable(f.control), BoxAcceptedId};
        const QString value = box.decimal();
        if (value.isEmpty())
            continue;
        QString why;
        if (column.insert == ValueForm::Integer) {
            bool fits = false;
            const qlonglong life = value.toLongLong(&fits);
            if (!fits || life < LifeMin || life > LifeMax)
                why = u"debe estar entre %1 y %2"_s.arg(LifeMin).arg(LifeMax);
        } else {
            const suite::ColumnDef *def =
                suite::Schema::table(QString::fromLatin1(AssetModel::AssetTable))->column(column.name);
            why = columnRefusal(*def, value, numericAsDouble());
        }
        if (!why.isEmpty()) {
            return Problem{f.control, column.tab,
                           u"%1: el número %2 no se puede guardar tal como está escrito: %3."_s.arg(
                               caption(f.control), shownText(value), why),
                           BeyondColumnId};
        }
    }
    return std::nullopt;
}

} // namespace xb733
