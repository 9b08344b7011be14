#include "suite/host/ImportReport.h"

#include "suite/host/CsvText.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace suite {

ImportReport::ImportReport(QIODevice &output, QChar separator)
    : m_output(output)
    , m_separator(separator)
{
    write({u"Línea"_s, u"Clave"_s, u"Campo"_s, u"Id"_s, u"Mensaje"_s});
}

void ImportReport::write(const QStringList &values)
{
    QStringList guarded;
    for (const QString &value : values)
        guarded.append(CsvText::guarded(value));
    m_output.write((CsvText::line(guarded, m_separator) + u"\r\n"_s).toUtf8());
}

void ImportReport::add(const RowOutcome &outcome)
{
    ++m_counts[outcome.kind];
    if (outcome.kind != RowOutcome::Refused)
        return;
    // A question's line break, as the box shows it, would split the message.
    QString text = outcome.text;
    text.replace(u"\r\n"_s, u" "_s).replace(u'\n', u' ');
    write({QString::number(outcome.line), outcome.key, outcome.field, outcome.id, text});
}

void ImportReport::fileFault(int line, const QString &text)
{
    write({QString::number(line), QString(), QString(), QString(), text});
}

int ImportReport::rows() const
{
    return m_counts[0] + m_counts[1] + m_counts[2] + m_counts[3];
}

QString ImportReport::summary(const QString &file, bool dryRun) const
{
    const QString would = dryRun ? u"se importarían"_s : u"importados"_s;
    QString text = dryRun ? u"Ensayo de la importación de %1 (--dry-run): no se guardó nada. "_s.arg(file)
                          : u"Importación de %1: "_s.arg(file);
    text += u"%1 renglones; %2 %3"_s.arg(rows()).arg(count(RowOutcome::Imported)).arg(would);
    if (count(RowOutcome::Updated) > 0)
        text += u", %1 %2"_s.arg(count(RowOutcome::Updated)).arg(dryRun ? u"se modificarían"_s : u"modificados"_s);
    if (count(RowOutcome::Unchanged) > 0)
        text += u", %1 sin cambios"_s.arg(count(RowOutcome::Unchanged));
    text += u", %1 rechazados."_s.arg(count(RowOutcome::Refused));
    return text;
}

} // namespace suite
