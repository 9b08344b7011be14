#pragma once

#include <QFont>
#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>

class QTextDocument;

namespace suite {

class Recordset;

// Makes the document to print from a template: rich text (HTML) when
// Qt::mightBeRichText says so, plain text otherwise.
//   [FIELD]   the value of that field of the data row, the field's name in
//             capitals; HTML-escaped in rich text, so it prints as stored.
//             Unknown names stay as written.
//   {FECHA}   today's date, "10 de marzo de 2025".
//   {QR:value} / {QR size align:value}  a QR code of value (up to the first
//             "}"); size in mm (default 20), align "izquierda" or "derecha"
//             floats it beside the text that follows, otherwise it sits in
//             the line.
// Fields are filled before QR codes are drawn, so {QR:[KEY]} codes a key;
// a value is never read as a directive itself.
class DocumentBuilder
{
public:
    static constexpr double DefaultQrMm = 20;

    explicit DocumentBuilder(double points);

    // The first row of rows; none when it is empty.
    void setFields(const Recordset &rows);

    // SuiteError when no fonts are installed (the print would be blank) or a
    // QR directive is wrong.
    std::unique_ptr<QTextDocument> build(const QString &templateText) const;

    // A field's value as a template shows it: dates dd/MM/yyyy, fractional
    // numbers with two decimals and thousands separators, NULL as nothing.
    static QString valueText(const QVariant &value);

    // The template with its [FIELD] placeholders filled from values (by the
    // field's name in capitals), for a text that build() prints later (a
    // label): each value is escaped for the template's kind (HTML or plain)
    // and marked so that build() reads none of it as markup, a placeholder
    // or a directive. Unknown names stay as written.
    static QString fillFields(const QString &templateText, const QHash<QString, QString> &values);
    // A text filled so, with its values' marks taken out: what it prints.
    static QString withoutMarks(const QString &text);

private:
    QString fill(const QString &templateText, bool rich) const;
    static void drawQrCodes(QTextDocument &document); // and gives values their "{" and "<" back

    QFont m_font;
    QHash<QString, QString> m_values; // by field name in capitals
};

} // namespace suite
