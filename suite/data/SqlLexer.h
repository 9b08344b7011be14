#pragma once

#include <QString>
#include <QVector>

namespace suite {

// Splits SQL text into tokens so that rewrites never touch what lies inside a
// quoted literal, a quoted identifier or a comment. Joining the texts of the
// tokens gives back the input exactly.
class SqlLexer
{
public:
    enum class Kind {
        Space,
        Comment,
        String,      // 'text' with doubled quotes inside
        QuotedName,  // "name" or [name]
        Word,        // identifiers and keywords, dotted names included (dbo.Func)
        Number,
        Parameter,   // :1, :2 (placeholders of stored statements)
        Punct        // operators and punctuation, ( ) , + || :: <> ...
    };

    struct Token
    {
        Kind kind;
        QString text;
    };

    static QVector<Token> tokenize(const QString &sql);
    static QString join(const QVector<Token> &tokens);

    // The value of a String token, quotes removed and doubled quotes undone.
    static QString unquote(const QString &literal);
};

} // namespace suite
