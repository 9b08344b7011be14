#include "suite/data/RowReader.h"

#include "suite/data/DecimalText.h"
#include "suite/data/Dialect.h"

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace suite {

RowReader::RowReader(const Dialect &dialect, const QSqlRecord &record)
    : m_dialect(dialect)
{
    m_columns.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        m_columns.append(record.fieldName(i));
        m_numeric.append(record.field(i).metaType().id() == QMetaType::Double);
    }
}

QVector<QVariant> RowReader::read(const QSqlQuery &query) const
{
    QVector<QVariant> row;
    row.reserve(m_columns.size());
    for (int i = 0; i < m_columns.size(); ++i) {
        QVariant value = query.value(i);
        if (!value.isValid())
            value = QVariant(QMetaType::fromType<QString>());
        // NUMERIC values arrive as the text the server writes (HighPrecision).
        if (m_numeric.at(i) && value.typeId() == QMetaType::QString && !value.isNull()) {
            if (const std::optional<QString> exact = DecimalText::canonical(value.toString()))
                value = DecimalText::toVariant(*exact);
        }
        row.append(m_dialect.normalize(m_columns.at(i), value));
    }
    return row;
}

} // namespace suite
