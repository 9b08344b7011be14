#include "suite/data/Dialect.h"

#include "suite/data/PostgresDialect.h"
#include "suite/data/SqlLexer.h"
#include "suite/data/SqliteDialect.h"
#include "suite/data/SuiteError.h"

#include <QHash>
#include <algorithm>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

using Kind = SqlLexer::Kind;
using Tokens = QVector<SqlLexer::Token>;

bool isBlank(const SqlLexer::Token &t)
{
    return t.kind == Kind::Space || t.kind == Kind::Comment;
}

int nextSolid(const Tokens &tokens, int from)
{
    for (int i = from; i < tokens.size(); ++i) {
        if (!isBlank(tokens.at(i)))
            return i;
    }
    return -1;
}

int previousSolid(const Tokens &tokens, int from)
{
    for (int i = from; i >= 0; --i) {
        if (!isBlank(tokens.at(i)))
            return i;
    }
    return -1;
}

bool isPunct(const SqlLexer::Token &t, QStringView text)
{
    return t.kind == Kind::Punct && t.text == text;
}

bool isTerm(const SqlLexer::Token &t)
{
    switch (t.kind) {
    case Kind::String:
    case Kind::Number:
    case Kind::Word:
    case Kind::QuotedName:
    case Kind::Parameter:
        return true;
    default:
        return false;
    }
}

// The parenthesis that closes the one at `from` (step 1), or that opens the
// one closing at `from` (step -1); -1 when the text leaves it unbalanced.
int matchingParen(const Tokens &tokens, int from, int step)
{
    const QStringView inward = step > 0 ? u"(" : u")";
    const QStringView outward = step > 0 ? u")" : u"(";
    int depth = 0;
    for (int i = from; i >= 0 && i < tokens.size(); i += step) {
        if (isPunct(tokens.at(i), inward))
            ++depth;
        else if (isPunct(tokens.at(i), outward) && --depth == 0)
            return i;
    }
    return -1;
}

// The operand that starts at token i (a term, a call, a parenthesised group):
// the index of its last token, -1 when i starts no operand.
int operandEnd(const Tokens &tokens, int i)
{
    if (i < 0)
        return -1;
    const auto &t = tokens.at(i);
    if (isPunct(t, u"("))
        return matchingParen(tokens, i, 1);
    if (!isTerm(t))
        return -1;
    if (t.kind == Kind::Word) {
        const int next = nextSolid(tokens, i + 1);
        if (next >= 0 && isPunct(tokens.at(next), u"("))
            return matchingParen(tokens, next, 1);
    }
    return i;
}

// The operand that ends at token i: the index of its first token, -1 when none.
int operandStart(const Tokens &tokens, int i)
{
    if (i < 0)
        return -1;
    const auto &t = tokens.at(i);
    if (isPunct(t, u")")) {
        const int open = matchingParen(tokens, i, -1);
        const int before = previousSolid(tokens, open - 1);
        if (before >= 0 && tokens.at(before).kind == Kind::Word)
            return before;
        return open;
    }
    return isTerm(t) ? i : -1;
}

// SQL Server concatenates texts with '+'. Every '+' of a chain of operands
// joined by '+' becomes '||' when one operand of the chain is a string
// literal; chains of columns and numbers alone stay arithmetic.
void rewriteConcatenation(Tokens &tokens)
{
    struct Chain
    {
        QVector<int> pluses;
        bool hasLiteral = false;
    };
    QVector<Chain> chains;
    QHash<int, int> chainEndingAt; // last token of a right operand -> chain

    for (int p = 0; p < tokens.size(); ++p) {
        if (!isPunct(tokens.at(p), u"+"))
            continue;
        const int leftEnd = previousSolid(tokens, p - 1);
        const int leftStart = operandStart(tokens, leftEnd);
        const int rightStart = nextSolid(tokens, p + 1);
        const int rightEnd = operandEnd(tokens, rightStart);
        if (leftStart < 0 || rightEnd < 0)
            continue; // unary sign or something we do not understand: leave it
        int chain = chainEndingAt.value(leftEnd, -1);
        if (chain < 0) {
            chain = chains.size();
            chains.append(Chain{});
            chains[chain].hasLiteral = leftStart == leftEnd && tokens.at(leftStart).kind == Kind::String;
        }
        chains[chain].pluses.append(p);
        if (rightStart == rightEnd && tokens.at(rightStart).kind == Kind::String)
            chains[chain].hasLiteral = true;
        chainEndingAt.insert(rightEnd, chain);
    }
    for (const Chain &chain : std::as_const(chains)) {
        if (!chain.hasLiteral)
            continue;
        for (int p : chain.pluses)
            tokens[p].text = u"||"_s;
    }
}

struct ExecCall
{
    QString name;
    QStringList arguments; // literals as written
};

// EXEC[UTE] name [literal [, literal ...]] [;]
bool parseExec(const Tokens &tokens, ExecCall *call)
{
    int i = nextSolid(tokens, 0);
    if (i < 0 || tokens.at(i).kind != Kind::Word)
        return false;
    const QString keyword = tokens.at(i).text.toUpper();
    if (keyword != u"EXEC"_s && keyword != u"EXECUTE"_s)
        return false;
    i = nextSolid(tokens, i + 1);
    if (i < 0 || tokens.at(i).kind != Kind::Word)
        return false;
    call->name = tokens.at(i).text;
    call->arguments.clear();
    bool expectArgument = true;
    for (i = nextSolid(tokens, i + 1); i >= 0; i = nextSolid(tokens, i + 1)) {
        const auto &t = tokens.at(i);
        if (isPunct(t, u";")) {
            return nextSolid(tokens, i + 1) < 0 && (call->arguments.isEmpty() || !expectArgument);
        }
        if (expectArgument) {
            if (t.kind == Kind::String || t.kind == Kind::Number) {
                call->arguments.append(t.text);
            } else if (t.kind == Kind::Word && t.text.compare(u"NULL"_s, Qt::CaseInsensitive) == 0) {
                call->arguments.append(u"NULL"_s);
            } else if (isPunct(t, u"-") && nextSolid(tokens, i + 1) >= 0
                       && tokens.at(nextSolid(tokens, i + 1)).kind == Kind::Number) {
                i = nextSolid(tokens, i + 1);
                call->arguments.append(u"-"_s + tokens.at(i).text);
            } else {
                return false;
            }
            expectArgument = false;
        } else {
            if (!isPunct(t, u","))
                return false;
            expectArgument = true;
        }
    }
    return call->arguments.isEmpty() || !expectArgument;
}

bool mayNeedRewrite(const QString &statement)
{
    return statement.contains(u'+') || statement.contains(u"dbo."_s, Qt::CaseInsensitive)
        || statement.contains(u"GETDATE"_s, Qt::CaseInsensitive)
        || statement.contains(u"ISNULL"_s, Qt::CaseInsensitive);
}

} // namespace

std::unique_ptr<Dialect> Dialect::create(const QString &driverName)
{
    if (driverName == u"QSQLITE"_s)
        return std::make_unique<SqliteDialect>();
    if (driverName == u"QPSQL"_s)
        return std::make_unique<PostgresDialect>();
    throw SuiteError(u"No hay un dialecto SQL para el controlador %1"_s.arg(driverName));
}

Dialect::Dialect(Traits traits)
    : m_traits(std::move(traits))
{
}

Dialect::~Dialect() = default;

void Dialect::prepare(QSqlDatabase &) const
{
}

QString Dialect::translateExpressions(const QString &statement) const
{
    if (!mayNeedRewrite(statement))
        return statement;
    Tokens tokens = SqlLexer::tokenize(statement);
    rewriteConcatenation(tokens);
    for (int i = 0; i < tokens.size(); ++i) {
        auto &t = tokens[i];
        if (t.kind != Kind::Word)
            continue;
        const int next = nextSolid(tokens, i + 1);
        const bool called = next >= 0 && isPunct(tokens.at(next), u"(");
        if (!called)
            continue;
        if (t.text.startsWith(u"dbo."_s, Qt::CaseInsensitive)) {
            t.text = qualifiedFunction(t.text);
        } else if (t.text.compare(u"ISNULL"_s, Qt::CaseInsensitive) == 0) {
            t.text = u"COALESCE"_s;
        } else if (t.text.compare(u"GETDATE"_s, Qt::CaseInsensitive) == 0) {
            const int close = matchingParen(tokens, next, 1);
            if (close == nextSolid(tokens, next + 1)) {
                t.text = m_traits.currentDateTimeExpression;
                for (int k = i + 1; k <= close; ++k)
                    tokens[k].text.clear();
            }
        }
    }
    return SqlLexer::join(tokens);
}

QString Dialect::searchDescription(const SearchIndexDef &index, const QString &qualifier) const
{
    const TableDef *table = Schema::table(index.table);
    Tokens tokens = SqlLexer::tokenize(index.description);
    for (auto &t : tokens) {
        if (t.kind == Kind::Word && table && table->column(t.text))
            t.text = qualifier + t.text;
    }
    return translateExpressions(SqlLexer::join(tokens));
}

QString Dialect::translate(const QString &statement, const QSqlDatabase &database) const
{
    const QString trimmed = statement.trimmed();
    if (trimmed.startsWith(u"EXEC"_s, Qt::CaseInsensitive)) {
        const Tokens tokens = SqlLexer::tokenize(statement);
        ExecCall call;
        if (parseExec(tokens, &call))
            return translateExpressions(execStatement(call.name, call.arguments, database));
    }
    return translateExpressions(statement);
}

QVariant Dialect::normalize(const QString &, const QVariant &value) const
{
    return value;
}

QStringList Dialect::sessionSql(int) const
{
    return {};
}

QString Dialect::statementTimeoutSql(int) const
{
    return {};
}

QString Dialect::beginSql() const
{
    return u"BEGIN"_s;
}

QString Dialect::beginReadSql() const
{
    return u"BEGIN"_s;
}

QString Dialect::limitClause(int rows) const
{
    return u" LIMIT %1"_s.arg(rows);
}

QString Dialect::limit(const QString &statement, int rows) const
{
    QString body = statement.trimmed();
    while (body.endsWith(u';'))
        body = body.chopped(1).trimmed();
    return body + limitClause(rows);
}

QString Dialect::likeEscape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c;
    }
    return out;
}

QString Dialect::searchRowsSql(const QString &statement, int wanted) const
{
    return limit(statement + u" ORDER BY 1"_s, wanted);
}

QStringList Dialect::searchPieces(const QString &text)
{
    const QList<uint> chars = text.toUcs4();
    auto plain = [&chars](qsizetype at) { return !(chars.at(at) == u'0' && chars.at(at + 1) == u'0' && chars.at(at + 2) == u'0'); };
    QStringList pieces;
    for (qsizetype at = 0; at + 3 <= chars.size();) {
        if (!plain(at)) {
            ++at;
            continue;
        }
        qsizetype end = at;
        while (end + 3 <= chars.size() && plain(end))
            ++end;
        // Trigrams at..end-1 span the characters at..end+1; of a longer
        // stretch the last six (four trigrams) find nearly as few rows and
        // cost a look-up far less.
        const qsizetype first = std::max(at, end + 2 - 6);
        pieces << QString::fromUcs4(reinterpret_cast<const char32_t *>(chars.constData() + first), end + 2 - first);
        at = end;
    }
    return pieces.isEmpty() ? QStringList{text} : pieces;
}

bool Dialect::tableExists(const QSqlDatabase &database, const QString &table) const
{
    const QStringList tables = database.tables(QSql::Tables);
    for (const QString &t : tables) {
        if (t.compare(table, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QStringList Dialect::indexNames(const QSqlDatabase &database) const
{
    QSqlQuery query(database);
    if (!query.exec(indexNamesSql()))
        throw SuiteError(query.lastError().text());
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    return names;
}

QStringList Dialect::columnNames(const QSqlDatabase &database, const QString &table) const
{
    // The catalogue wants the name as the database keeps it (PostgreSQL folds
    // unquoted names to lower case).
    QString stored = table;
    const QStringList tables = database.tables(QSql::Tables);
    for (const QString &t : tables) {
        if (t.compare(table, Qt::CaseInsensitive) == 0) {
            stored = t;
            break;
        }
    }
    QStringList names;
    const QSqlRecord record = database.record(stored);
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    return names;
}

QString Dialect::foldedSql(const QString &expression) const
{
    // The accented letters of Spanish and its neighbours. Each is one more
    // nested replace(), and SQLite's parser takes some 27 at most.
    static const QString lower = u"áéíóúüñàèìòùâêîôûäöç"_s;
    static const QString upper = u"ÁÉÍÓÚÜÑÀÈÌÒÙÂÊÎÔÛÄÖÇ"_s;
    QString folded = expression;
    for (qsizetype i = 0; i < lower.size(); ++i)
        folded = u"replace("_s + folded + u", '"_s + lower.at(i) + u"', '"_s + upper.at(i) + u"')"_s;
    return m_traits.asciiUpper.arg(folded);
}

QString Dialect::currentDateTimeSql() const
{
    return u"SELECT "_s + m_traits.currentDateTimeExpression + u" AS Fecha_Servidor"_s;
}

QString Dialect::columnType(const ColumnDef &column) const
{
    switch (column.kind) {
    case ColumnKind::Text:
        return u"VARCHAR(%1)"_s.arg(column.size);
    case ColumnKind::Memo:
        return u"TEXT"_s;
    case ColumnKind::Integer:
        return u"INTEGER"_s;
    case ColumnKind::Serial:
        return m_traits.serialType;
    case ColumnKind::Money:
        return u"NUMERIC(18,4)"_s;
    case ColumnKind::Percent:
        return u"NUMERIC(18,9)"_s;
    case ColumnKind::Double:
        return u"DOUBLE PRECISION"_s;
    case ColumnKind::Date:
        return u"DATE"_s;
    case ColumnKind::Stamp:
        return m_traits.stampType;
    }
    return u"TEXT"_s;
}

QString Dialect::columnSql(const ColumnDef &column) const
{
    QString sql = column.name + u' ' + columnType(column);
    if (column.notNull && column.kind != ColumnKind::Serial)
        sql += u" NOT NULL"_s;
    if (!column.defaultValue.isEmpty())
        sql += u" DEFAULT "_s + column.defaultValue;
    return sql;
}

QString Dialect::createTableSql(const TableDef &table) const
{
    QStringList parts;
    for (const ColumnDef &column : table.columns)
        parts.append(u"  "_s + columnSql(column));
    const QStringList key = table.primaryKey();
    const bool serialKey = key.size() == 1 && table.column(key.first())->kind == ColumnKind::Serial;
    if (!key.isEmpty() && !serialKey)
        parts.append(u"  PRIMARY KEY ("_s + key.join(u", "_s) + u')');
    return u"CREATE TABLE IF NOT EXISTS "_s + table.name + u" (\n"_s + parts.join(u",\n"_s) + u"\n)"_s;
}

QString Dialect::addColumnSql(const QString &table, const ColumnDef &column) const
{
    ColumnDef added = column;
    // A column added to a table that has rows needs a default to be NOT NULL.
    if (added.notNull && added.defaultValue.isEmpty())
        added.notNull = false;
    added.primaryKey = false;
    return u"ALTER TABLE "_s + table + u" ADD COLUMN "_s + columnSql(added);
}

QString Dialect::createIndexSql(const IndexDef &index) const
{
    const TableDef *table = Schema::table(index.table);
    QStringList keys;
    for (const QString &name : index.columns) {
        const ColumnDef *column = table ? table->column(name) : nullptr;
        keys.append(column && column->caseBlind ? u'(' + foldedSql(name) + u')' : name);
    }
    return u"CREATE "_s + (index.unique ? u"UNIQUE "_s : QString()) + u"INDEX IF NOT EXISTS "_s + index.name
        + u" ON "_s + index.table + u" ("_s + keys.join(u", "_s) + u')';
}

} // namespace suite
