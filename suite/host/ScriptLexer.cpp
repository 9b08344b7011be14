#include "suite/host/ScriptLexer.h"

using namespace Qt::StringLiterals;

namespace suite {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r';
}

} // namespace

bool ScriptLexer::isSkipped(const QString &line)
{
    const QString trimmed = line.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith(u'#');
}

bool ScriptLexer::split(const QString &line, QStringList &words, QString &error)
{
    words.clear();
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (true) {
        while (i < n && isBlank(line.at(i)))
            ++i;
        if (i >= n)
            return true;

        QString word;
        if (line.at(i) != u'"') {
            while (i < n && !isBlank(line.at(i)))
                word.append(line.at(i++));
            words.append(word);
            continue;
        }

        const qsizetype opening = i++;
        bool closed = false;
        while (i < n) {
            const QChar c = line.at(i++);
            if (c == u'"') {
                closed = true;
                break;
            }
            if (c != u'\\') {
                word.append(c);
                continue;
            }
            if (i >= n)
                break;
            const QChar escaped = line.at(i++);
            if (escaped == u'"' || escaped == u'\\') {
                word.append(escaped);
            } else if (escaped == u't') {
                word.append(u'\t');
            } else if (escaped == u'n') {
                word.append(u'\n');
            } else if (escaped == u'u') {
                // Any UTF-16 unit, for what a line cannot hold as it is (NUL, CR, other controls).
                const QString hex = line.mid(i, 4);
                bool ok = hex.size() == 4;
                for (const QChar h : hex)
                    ok = ok && ((h >= u'0' && h <= u'9') || (h >= u'a' && h <= u'f') || (h >= u'A' && h <= u'F'));
                if (!ok) {
                    error = u"Secuencia de escape no válida \\u%1 en la columna %2."_s.arg(hex).arg(i - 1);
                    return false;
                }
                word.append(QChar(char16_t(hex.toUShort(nullptr, 16))));
                i += 4;
            } else {
                error = u"Secuencia de escape no válida \\%1 en la columna %2."_s.arg(escaped).arg(i - 1);
                return false;
            }
        }
        if (!closed) {
            error = u"Faltan las comillas de cierre de la palabra que empieza en la columna %1."_s.arg(opening + 1);
            return false;
        }
        if (i < n && !isBlank(line.at(i))) {
            error = u"Falta un blanco después de las comillas de cierre (columna %1)."_s.arg(i + 1);
            return false;
        }
        words.append(word);
    }
}

QString ScriptLexer::rest(const QString &line)
{
    const QString trimmed = line.trimmed();
    qsizetype i = 0;
    while (i < trimmed.size() && !isBlank(trimmed.at(i)))
        ++i;
    return trimmed.mid(i).trimmed();
}

QString ScriptLexer::quoted(const QString &text)
{
    QString word = text;
    word.replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s).replace(u'\n', u"\\n"_s).replace(u'\t', u"\\t"_s);
    return u'"' + word + u'"';
}

} // namespace suite
