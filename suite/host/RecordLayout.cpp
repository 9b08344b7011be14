#include "suite/host/RecordLayout.h"

#include "suite/data/SuiteError.h"
#include "suite/kit/Controles.h"
#include "suite/services/AdditionalFields.h"

#include <QWidget>

using namespace Qt::StringLiterals;

namespace suite {

RecordLayout::RecordLayout(QWidget *form, Connection &connection)
{
    const QVariantList described = form->property("recordColumns").toList();
    if (described.isEmpty())
        throw SuiteError(u"La pantalla no describe las columnas de sus registros (recordColumns)."_s);
    for (const QVariant &item : described) {
        const QVariantMap m = item.toMap();
        m_columns.append({m.value(u"column"_s).toString(), m.value(u"caption"_s).toString(),
                          m.value(u"kind"_s).toString(), m.value(u"control"_s).toString(),
                          m.value(u"controls"_s).toMap(), m.value(u"required"_s).toBool()});
    }
    const auto *toolbar = form->findChild<Controles *>();
    if (toolbar && !toolbar->opcTable().isEmpty()) {
        const AdditionalFields::Definitions fields = AdditionalFields(connection).definitions(toolbar->opcTable());
        for (const auto &[field, title] : fields)
            m_columns.append({field, title, u"additional"_s, {}, {}, false});
    }
}

int RecordLayout::indexOf(const QString &kind) const
{
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).kind == kind)
            return int(i);
    }
    return -1;
}

QString RecordLayout::fold(const QString &name)
{
    QString text = name.trimmed();
    if (text.endsWith(u':'))
        text.chop(1);
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        const QChar plain = c == u'_' ? u' ' : c.toCaseFolded();
        if (plain.isSpace() && (out.isEmpty() || out.back() == u' '))
            continue;
        out.append(plain.isSpace() ? u' ' : plain);
    }
    return out.trimmed();
}

bool RecordLayout::match(const QStringList &header, bool partial, QVector<int> &meaning, QStringList &problems) const
{
    meaning.fill(-1, header.size());
    QStringList unknown;
    for (qsizetype i = 0; i < header.size(); ++i) {
        const QString name = fold(header.at(i));
        for (qsizetype c = 0; c < m_columns.size() && meaning[i] < 0; ++c) {
            if (name == fold(m_columns.at(c).column) || name == fold(m_columns.at(c).caption))
                meaning[i] = int(c);
        }
        if (meaning[i] < 0) {
            unknown.append(u"«%1»"_s.arg(header.at(i)));
        } else if (meaning.indexOf(meaning[i]) < i) {
            problems.append(u"La columna %1 aparece dos veces en el encabezado («%2» y «%3»)."_s.arg(
                m_columns.at(meaning[i]).column, header.at(meaning.indexOf(meaning[i])), header.at(i)));
        }
    }
    if (!unknown.isEmpty()) {
        problems.append(u"El encabezado tiene columnas desconocidas: %1. Cada columna se nombra con el nombre de "
                        "la columna en la base de datos o con el título del campo en la pantalla."_s.arg(
                            unknown.join(u", "_s)));
    }
    QStringList missing;
    for (qsizetype c = 0; c < m_columns.size(); ++c) {
        const TransferColumn &column = m_columns.at(c);
        const bool needed = partial ? column.kind == u"key"_s : column.required;
        if (needed && !meaning.contains(int(c)))
            missing.append(u"%1 («%2»)"_s.arg(column.column, column.caption));
    }
    if (!missing.isEmpty())
        problems.append(u"Faltan columnas obligatorias: %1."_s.arg(missing.join(u", "_s)));
    return problems.isEmpty();
}

} // namespace suite
