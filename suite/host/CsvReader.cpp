#include "suite/host/CsvReader.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// Separators outside quotes, to tell which one the header uses.
int countOutsideQuotes(const QString &text, QChar separator)
{
    int count = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (c == separator && !quoted)
            ++count;
    }
    return count;
}

} // namespace

CsvReader::CsvReader(QIODevice &device)
    : m_device(device)
    // Line by line (a line break never splits a UTF-8 sequence), so bytes cut
    // short at the end of the file are a fault too; the mark is kept, to be
    // taken off the first name only.
    , m_decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom)
{
}

bool CsvReader::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool CsvReader::readLine(QString &text)
{
    if (m_device.atEnd())
        return false;
    const QByteArray bytes = m_device.readLine();
    ++m_lineNumber;
    if (m_lineNumber == 1 && (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))) {
        return fail(u"El archivo está en UTF-16; guárdelo como CSV UTF-8 (el formato «CSV UTF-8» de la hoja de "
                    "cálculo) y vuelva a importarlo."_s);
    }
    text = m_decoder.decode(bytes);
    if (m_decoder.hasError()) {
        return fail(u"La línea %1 tiene caracteres que no son UTF-8 (¿se guardó como Latin-1 o Windows-1252?); "
                    "guarde el archivo como CSV UTF-8 y vuelva a importarlo."_s.arg(m_lineNumber));
    }
    if (text.endsWith(u'\n'))
        text.chop(1);
    if (text.endsWith(u'\r'))
        text.chop(1);
    return true;
}

bool CsvReader::readHeader(QStringList &names)
{
    QString first;
    if (!readLine(first))
        return m_error.isEmpty() ? fail(u"El archivo está vacío: le falta el renglón de encabezado."_s) : false;
    // The byte order mark, when a spreadsheet wrote one, is no part of the first name.
    if (first.startsWith(QChar(0xFEFF)))
        first.remove(0, 1);
    m_separator = countOutsideQuotes(first, u';') > countOutsideQuotes(first, u',') ? u';' : u',';
    m_device.seek(0);
    m_decoder.resetState();
    m_lineNumber = 0;
    if (!next(names))
        return m_error.isEmpty() ? fail(u"El archivo está vacío: le falta el renglón de encabezado."_s) : false;
    if (!names.isEmpty() && names.first().startsWith(QChar(0xFEFF)))
        names.first().remove(0, 1);
    return true;
}

bool CsvReader::next(QStringList &fields)
{
    fields.clear();
    if (!m_error.isEmpty())
        return false;
    // Blank lines between records carry nothing.
    QString text;
    do {
        if (!readLine(text))
            return false;
    } while (text.isEmpty());
    m_recordLine = m_lineNumber;

    QString value;
    bool quoted = false;    // inside a quoted value
    bool afterQuote = false; // a quoted value just closed
    for (;;) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (quoted) {
                if (c != u'"') {
                    value.append(c);
                } else if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    value.append(c);
                    ++i;
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else if (c == m_separator) {
                fields.append(value);
                value.clear();
                afterQuote = false;
            } else if (afterQuote) {
                return fail(u"La línea %1 tiene texto después de las comillas que cierran un valor; un valor entre "
                            "comillas escribe sus comillas dobles (\"\")."_s.arg(m_lineNumber));
            } else if (c == u'"' && value.isEmpty()) {
                quoted = true;
            } else {
                value.append(c);
            }
        }
        if (!quoted)
            break;
        // A line break inside quotes belongs to the value.
        value.append(u'\n');
        if (!readLine(text)) {
            return m_error.isEmpty()
                       ? fail(u"El archivo termina dentro de un valor entre comillas que empieza en la línea %1: "
                              "parece cortado."_s.arg(m_recordLine))
                       : false;
        }
    }
    fields.append(value);
    return true;
}

} // namespace suite
