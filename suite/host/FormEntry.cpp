#include "suite/host/FormEntry.h"

#include "suite/data/DecimalText.h"
#include "suite/data/Schema.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/KeyFormat.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/TxtKit.h"

#include <QDate>
#include <QRegularExpression>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

const QString TooLong = u"ERR-ID:7500090"_s;
const QString NoDate = u"ERR-ID:7500091"_s;
const QString NoResponsibleType = u"ERR-ID:7500092"_s;
const QString NoState = u"ERR-ID:7500093"_s;
const QString NoVersion = u"ERR-ID:7500094"_s;
const QString NoDistribution = u"ERR-ID:7500095"_s;

using Shares = QList<QPair<QString, QString>>;

// "000110:60;000120:40", blanks around each piece allowed; none when not so.
std::optional<Shares> readShares(const QString &text)
{
    Shares out;
    for (const QString &piece : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype colon = piece.indexOf(u':');
        if (piece.trimmed().isEmpty())
            continue;
        if (colon < 0 || piece.indexOf(u':', colon + 1) >= 0)
            return std::nullopt;
        out.append({piece.left(colon).trimmed(), piece.mid(colon + 1).trimmed()});
    }
    return out;
}

QString tooLong(const QString &value, int length)
{
    return u"El valor tiene %1 caracteres y el campo admite %2: «%3»"_s.arg(value.size()).arg(length).arg(value);
}

} // namespace

FormEntry::FormEntry(QWidget *form, const RecordLayout &layout)
    : m_form(form)
    , m_layout(layout)
    , m_toolbar(form->findChild<Controles *>())
{
    for (const TransferColumn &column : layout.columns()) {
        QStringList names = {column.control};
        for (const QVariant &name : column.controls)
            names.append(name.toString());
        for (const QString &name : names) {
            if (!name.isEmpty())
                m_controls.insert(name, form->findChild<QWidget *>(name));
        }
    }
}

QWidget *FormEntry::control(const QString &name) const
{
    return m_controls.value(name);
}

QDate FormEntry::readDate(const QString &text)
{
    static const QRegularExpression iso(u"^(\\d{4})-(\\d{2})-(\\d{2})$"_s);
    static const QRegularExpression day(u"^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"_s);
    const QString t = text.trimmed();
    if (const QRegularExpressionMatch m = iso.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (const QRegularExpressionMatch m = day.match(t); m.hasMatch())
        return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    return {};
}

std::optional<FormEntry::Refusal> FormEntry::check(const RowValues &values) const
{
    const int valueLength = Schema::table(u"Campo_Adicional_Valor"_s)->column(u"Ca_Valor"_s)->size;
    for (qsizetype c = 0; c < values.size(); ++c) {
        if (!values.at(c))
            continue;
        const QString &value = *values.at(c);
        const TransferColumn &column = m_layout.columns().at(c);
        const int at = int(c);
        if (column.kind == u"text"_s || column.kind == u"responsible"_s) {
            const auto *box = qobject_cast<const txtKIT *>(control(
                column.kind == u"text"_s ? column.control : column.controls.value(responsibleCode(values)).toString()));
            if (box && box->numericKind() == txtKIT::NotNumeric && box->maxlength() > 0 && value.size() > box->maxlength())
                return Refusal{at, TooLong, tooLong(value, box->maxlength())};
        } else if (column.kind == u"date"_s && !value.trimmed().isEmpty()) {
            const auto *picker = qobject_cast<const dpFecha *>(control(column.control));
            const QDate date = readDate(value);
            if (!date.isValid() || (picker && (date <= picker->minimumDate() || date > picker->maximumDate()))) {
                return Refusal{at, NoDate, u"La fecha «%1» no es una fecha válida: escríbala como AAAA-MM-DD o "
                                           "DD/MM/AAAA."_s.arg(value)};
            }
        } else if (column.kind == u"responsibleType"_s && !value.isEmpty()
                   && !column.controls.contains(value.trimmed().toUpper())) {
            return Refusal{at, NoResponsibleType,
                           u"El tipo de responsable es EM (empleado) o CL (cliente), no «%1»."_s.arg(value)};
        } else if (column.kind == u"state"_s && !value.isEmpty() && value.trimmed().toUpper() != u"AC"_s
                   && value.trimmed().toUpper() != u"BA"_s) {
            return Refusal{at, NoState, u"El estado es AC (activo) o BA (dado de baja), no «%1»."_s.arg(value)};
        } else if (column.kind == u"version"_s && !value.trimmed().isEmpty()) {
            bool whole = false;
            value.trimmed().toLongLong(&whole);
            if (!whole)
                return Refusal{at, NoVersion, u"La versión es un número entero, no «%1»."_s.arg(value)};
        } else if (column.kind == u"distribution"_s && !readShares(value)) {
            return Refusal{at, NoDistribution, u"La distribución se escribe centro:porcentaje;centro:porcentaje, "
                                               "no «%1»."_s.arg(value)};
        } else if (column.kind == u"additional"_s && value.size() > valueLength) {
            return Refusal{at, TooLong, tooLong(value, valueLength)};
        }
    }
    return std::nullopt;
}

// The code of the responsible kind the option buttons show now.
QString FormEntry::responsibleCode() const
{
    const int type = m_layout.indexOf(u"responsibleType"_s);
    const QVariantMap options = type >= 0 ? m_layout.columns().at(type).controls : QVariantMap();
    for (auto it = options.cbegin(); it != options.cend(); ++it) {
        const auto *option = qobject_cast<const OptionButton *>(control(it.value().toString()));
        if (option && option->value())
            return it.key();
    }
    return u"EM"_s;
}

// The kind the row chooses; the screen's when the file does not say.
QString FormEntry::responsibleCode(const RowValues &values) const
{
    const int type = m_layout.indexOf(u"responsibleType"_s);
    if (type < 0 || !values.at(type))
        return responsibleCode();
    const QString code = values.at(type)->trimmed().toUpper();
    return code.isEmpty() ? u"EM"_s : code;
}

void FormEntry::put(const RowValues &values, bool withKey)
{
    for (qsizetype c = 0; c < values.size(); ++c) {
        if (!values.at(c))
            continue;
        const QString &value = *values.at(c);
        const TransferColumn &column = m_layout.columns().at(c);
        if (column.kind == u"key"_s || column.kind == u"text"_s || column.kind == u"responsible"_s) {
            const QString name = column.kind == u"responsible"_s ? column.controls.value(responsibleCode()).toString()
                                                                 : column.control;
            auto *box = qobject_cast<txtKIT *>(control(name));
            if (!box || (column.kind == u"key"_s && (!withKey || value.isEmpty())))
                continue;
            if (box->numericKind() != txtKIT::NotNumeric) {
                box->setValor(value); // read as the box reads what is typed
            } else {
                box->setText(value);
                box->rellenaClave();
            }
        } else if (column.kind == u"date"_s) {
            if (auto *picker = qobject_cast<dpFecha *>(control(column.control)))
                picker->setKitDate(readDate(value));
        } else if (column.kind == u"responsibleType"_s) {
            const QString code = value.trimmed().isEmpty() ? u"EM"_s : value.trimmed().toUpper();
            // Its click empties the other kind's boxes and shows this kind's frame.
            if (auto *option = qobject_cast<OptionButton *>(control(column.controls.value(code).toString())))
                option->setValue(true);
        } else if (column.kind == u"distribution"_s) {
            putDistribution(value);
        } else if (column.kind == u"additional"_s && m_toolbar) {
            m_toolbar->setAdditionalField(column.column, value);
        }
    }
}

void FormEntry::dropGivenKey(const QString &given, const RowValues &values)
{
    for (qsizetype c = 0; c < values.size(); ++c) {
        const TransferColumn &column = m_layout.columns().at(c);
        auto *box = qobject_cast<txtKIT *>(control(column.control));
        if (!values.at(c) && column.kind == u"text"_s && box && !given.isEmpty() && box->text() == given)
            box->setText(QString());
    }
}

// As the load fills the grid: row by row, each key filled to the cost-centre pattern.
void FormEntry::putDistribution(const QString &text)
{
    const int at = m_layout.indexOf(u"distribution"_s);
    auto *grid = qobject_cast<DataGrid *>(control(m_layout.columns().at(at).control));
    if (!grid)
        return;
    const QString pattern = m_form->property("FormatoCentroCosto").toString();
    grid->RemoveAll();
    for (const auto &[centre, share] : readShares(text).value_or(Shares())) {
        grid->AddNew();
        grid->setCellText(u"Clave"_s, formatKey(centre, pattern));
        grid->setCellText(u"Porcentaje"_s, share);
        grid->Update();
    }
}

QStringList FormEntry::snapshot() const
{
    QStringList out;
    for (const TransferColumn &column : m_layout.columns()) {
        QStringList names = {column.control};
        for (const QVariant &name : column.controls)
            names.append(name.toString());
        for (const QString &name : names) {
            QWidget *w = control(name);
            if (const auto *box = qobject_cast<const txtKIT *>(w)) {
                out << (box->numericKind() != txtKIT::NotNumeric && box->holdsNumber() ? box->decimal() : box->text());
            } else if (const auto *picker = qobject_cast<const dpFecha *>(w)) {
                out << picker->kitDate().toString(Qt::ISODate);
            } else if (const auto *option = qobject_cast<const OptionButton *>(w)) {
                out << QString::number(option->value());
            } else if (const auto *grid = qobject_cast<const DataGrid *>(w)) {
                // The rows as a set: the order the distribution is stored in means nothing.
                QStringList rows;
                for (int r = 0; r < grid->Rows(); ++r) {
                    rows << grid->text(r, u"Clave"_s) + u'='
                                + DecimalText::fromVariant(grid->value(r, u"Porcentaje"_s)).value_or(QString());
                }
                rows.sort();
                out << rows.join(u';');
            }
        }
    }
    if (m_toolbar) {
        const QMap<QString, QVariant> fields = m_toolbar->additionalFieldValues();
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            out << it.key() + u'=' + it.value().toString();
    }
    return out;
}

int FormEntry::columnOf(const QWidget *w) const
{
    for (; w && w != m_form; w = w->parentWidget()) {
        for (qsizetype c = 0; c < m_layout.columns().size(); ++c) {
            const TransferColumn &column = m_layout.columns().at(c);
            bool holds = column.control == w->objectName();
            for (const QVariant &name : column.controls)
                holds = holds || name.toString() == w->objectName();
            if (holds && !w->objectName().isEmpty())
                return int(c);
        }
    }
    return -1;
}

} // namespace suite
