#pragma once

#include <QString>
#include <QStringList>

namespace suite {

// Splits one script line into words. Words are separated by blanks (spaces or
// tabs); a word in double quotes may hold blanks and the escapes \" \\ \t and
// \n. Outside quotes a backslash is an ordinary character.
class ScriptLexer
{
public:
    // A blank line or a comment (first non-blank character '#').
    static bool isSkipped(const QString &line);

    // False, with error filled, for an unterminated quote, an unknown escape
    // or a quoted word glued to the next one.
    static bool split(const QString &line, QStringList &words, QString &error);

    // The line after its first word, without surrounding blanks: the raw
    // statement of a "sql" line, whose quotes belong to SQL.
    static QString rest(const QString &line);

    // A word that split() reads back as text: quoted, its escapes written.
    static QString quoted(const QString &text);
};

} // namespace suite
