#include "suite/data/SqlLexer.h"

using namespace Qt::StringLiterals;

namespace suite {

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#';
}

bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$' || c == u'.';
}

// Runs to the closing quote; a doubled closing quote is part of the text. An
// unterminated literal runs to the end so the database reports it.
int quotedEnd(const QString &sql, int start, QChar close)
{
    int i = start + 1;
    while (i < sql.size()) {
        if (sql.at(i) == close) {
            if (i + 1 < sql.size() && sql.at(i + 1) == close && close != u']') {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

} // namespace

QVector<SqlLexer::Token> SqlLexer::tokenize(const QString &sql)
{
    QVector<Token> tokens;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        int end = i + 1;
        Kind kind = Kind::Punct;
        if (c.isSpace()) {
            while (end < n && sql.at(end).isSpace())
                ++end;
            kind = Kind::Space;
        } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            end = sql.indexOf(u'\n', i);
            end = end < 0 ? n : end;
            kind = Kind::Comment;
        } else if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
            end = sql.indexOf(QLatin1String("*/"), i + 2);
            end = end < 0 ? n : end + 2;
            kind = Kind::Comment;
        } else if (c == u'\'') {
            end = quotedEnd(sql, i, u'\'');
            kind = Kind::String;
        } else if (c == u'"') {
            end = quotedEnd(sql, i, u'"');
            kind = Kind::QuotedName;
        } else if (c == u'[') {
            end = quotedEnd(sql, i, u']');
            kind = Kind::QuotedName;
        } else if (isWordStart(c)) {
            while (end < n && isWordPart(sql.at(end)))
                ++end;
            kind = Kind::Word;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql.at(i + 1).isDigit())) {
            while (end < n && (sql.at(end).isDigit() || sql.at(end) == u'.'))
                ++end;
            if (end < n && (sql.at(end) == u'e' || sql.at(end) == u'E')) {
                int e = end + 1;
                if (e < n && (sql.at(e) == u'+' || sql.at(e) == u'-'))
                    ++e;
                if (e < n && sql.at(e).isDigit()) {
                    end = e;
                    while (end < n && sql.at(end).isDigit())
                        ++end;
                }
            }
            kind = Kind::Number;
        } else if (c == u':' && i + 1 < n && sql.at(i + 1).isDigit()
                   && (i == 0 || sql.at(i - 1) != u':')) {
            while (end < n && sql.at(end).isDigit())
                ++end;
            kind = Kind::Parameter;
        } else {
            static const QString pairs[] = {u"||"_s, u"::"_s, u"<>"_s, u"<="_s, u">="_s, u"!="_s};
            for (const QString &p : pairs) {
                if (QStringView(sql).mid(i, 2) == p) {
                    end = i + 2;
                    break;
                }
            }
        }
        tokens.append(Token{kind, sql.mid(i, end - i)});
        i = end;
    }
    return tokens;
}

QString SqlLexer::join(const QVector<Token> &tokens)
{
    QString out;
    for (const Token &t : tokens)
        out += t.text;
    return out;
}

QString SqlLexer::unquote(const QString &literal)
{
    if (literal.size() < 2 || !literal.startsWith(u'\''))
        return literal;
    QString inner = literal.mid(1, literal.endsWith(u'\'') ? literal.size() - 2 : literal.size() - 1);
    inner.replace(QLatin1String("''"), QLatin1String("'"));
    return inner;
}

} // namespace suite
