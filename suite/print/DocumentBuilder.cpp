#include "suite/print/DocumentBuilder.h"

#include "suite/data/Recordset.h"
#include "suite/data/SuiteError.h"
#include "suite/print/QrCode.h"

#include <QDate>
#include <QDateTime>
#include <QFontDatabase>
#include <QLocale>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrameFormat>
#include <QTextImageFormat>
#include <QUrl>
#include <utility>

QT_BEGIN_NAMESPACE
// Rich text lengths (and image sizes) are pixels at this resolution, which
// the layout scales to the printer's; a QR code's size in mm is turned into
// such pixels with it.
Q_GUI_EXPORT int qt_defaultDpi();
QT_END_NAMESPACE

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// A "{" inside a value stands in for itself until the QR directives of the
// template are drawn, so a value never becomes a directive; a "<" in a value
// of a plain template likewise, so the value never turns the text into HTML.
constexpr char16_t ValueBrace = 0xE000;
constexpr char16_t ValueAngle = 0xE001;

// One pass over the template's placeholders (and {FECHA} when today is
// given), so a value that itself holds "[X]" or "{FECHA}" prints as it is.
QString fillMarkers(const QString &templateText, bool rich, const QHash<QString, QString> &values,
                    const QString &today)
{
    static const QRegularExpression marker(u"\\[([^\\[\\]\\r\\n]+)\\]|\\{FECHA\\}"_s);
    QString out;
    out.reserve(templateText.size());
    qsizetype from = 0;
    for (auto it = marker.globalMatch(templateText); it.hasNext();) {
        const auto match = it.next();
        out += QStringView(templateText).mid(from, match.capturedStart() - from);
        from = match.capturedEnd();
        QString value;
        if (match.hasCaptured(1)) {
            const auto found = values.constFind(match.captured(1));
            if (found == values.constEnd()) {
                out += match.captured();
                continue;
            }
            value = *found;
        } else if (!today.isNull()) {
            value = today;
        } else {
            out += match.captured();
            continue;
        }
        value.replace(u'{', QChar(ValueBrace));
        if (rich)
            value = value.toHtmlEscaped();
        else
            value.replace(u'<', QChar(ValueAngle));
        out += value;
    }
    out += QStringView(templateText).mid(from);
    return out;
}

const QLocale &mexican()
{
    static const QLocale locale(QLocale::Spanish, QLocale::Mexico);
    return locale;
}

struct QrOptions
{
    double sizeMm = DocumentBuilder::DefaultQrMm;
    QTextFrameFormat::Position position = QTextFrameFormat::InFlow;
};

QrOptions qrOptions(const QString &written)
{
    QrOptions options;
    const QStringList words = written.split(u' ', Qt::SkipEmptyParts);
    for (const QString &word : words) {
        bool isNumber = false;
        const double size = QLocale::c().toDouble(QString(word).replace(u',', u'.'), &isNumber);
        if (isNumber && size > 0)
            options.sizeMm = size;
        else if (word.compare(u"izquierda"_s, Qt::CaseInsensitive) == 0)
            options.position = QTextFrameFormat::FloatLeft;
        else if (word.compare(u"derecha"_s, Qt::CaseInsensitive) == 0)
            options.position = QTextFrameFormat::FloatRight;
        else
            throw SuiteError(u"El código QR tiene una opción que no se conoce: \"%1\" (se esperaba un tamaño "
                             "en milímetros, izquierda o derecha)."_s.arg(word));
    }
    return options;
}

} // namespace

DocumentBuilder::DocumentBuilder(double points)
    : m_font(u"DejaVu Sans"_s)
{
    m_font.setPointSizeF(points);
}

void DocumentBuilder::setFields(const Recordset &rows)
{
    m_values.clear();
    if (rows.rowCount() == 0)
        return;
    const QVector<QVariant> &first = rows.rows().constFirst();
    // The first field of a name wins, as the screens fill their templates.
    for (int i = 0; i < rows.fieldCount(); ++i) {
        const QString name = rows.fieldName(i).toUpper();
        if (!m_values.contains(name))
            m_values.insert(name, valueText(first.at(i)));
    }
}

QString DocumentBuilder::valueText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().toString(u"dd/MM/yyyy"_s);
    case QMetaType::QDateTime: {
        const QDateTime stamp = value.toDateTime();
        return stamp.time() == QTime(0, 0) ? stamp.date().toString(u"dd/MM/yyyy"_s)
                                           : stamp.toString(u"dd/MM/yyyy HH:mm"_s);
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return mexican().toString(value.toDouble(), 'f', 2);
    default:
        return value.toString();
    }
}

QString DocumentBuilder::fill(const QString &templateText, bool rich) const
{
    return fillMarkers(templateText, rich, m_values,
                       mexican().toString(QDate::currentDate(), u"d 'de' MMMM 'de' yyyy"_s));
}

QString DocumentBuilder::fillFields(const QString &templateText, const QHash<QString, QString> &values)
{
    return fillMarkers(templateText, Qt::mightBeRichText(templateText), values, QString());
}

QString DocumentBuilder::withoutMarks(const QString &text)
{
    return QString(text).replace(QChar(ValueBrace), u'{').replace(QChar(ValueAngle), u'<');
}

void DocumentBuilder::drawQrCodes(QTextDocument &document)
{
    static const QRegularExpression directive(u"\\{QR((?: [^:{}]*)?):([^}]*)\\}"_s);
    int count = 0;
    QTextCursor cursor = document.find(directive);
    while (!cursor.isNull()) {
        const auto match = directive.match(cursor.selectedText());
        const QrOptions options = qrOptions(match.captured(1));
        const QUrl name(u"qr:%1"_s.arg(++count));
        const QString value = match.captured(2).replace(QChar(ValueBrace), u'{').replace(QChar(ValueAngle), u'<');
        document.addResource(QTextDocument::ImageResource, name, QrCode::image(value));

        QTextImageFormat image;
        image.setName(name.toString());
        const double pixels = options.sizeMm / 25.4 * qt_defaultDpi();
        image.setWidth(pixels);
        image.setHeight(pixels);
        if (options.position == QTextFrameFormat::InFlow)
            cursor.insertImage(image);
        else
            cursor.insertImage(image, options.position);
        cursor = document.find(directive, cursor);
    }
    for (const auto &[marker, character] : {std::pair{ValueBrace, u"{"_s}, std::pair{ValueAngle, u"<"_s}}) {
        for (cursor = document.find(QString(QChar(marker))); !cursor.isNull();
             cursor = document.find(QString(QChar(marker)), cursor)) {
            cursor.insertText(character);
        }
    }
}

std::unique_ptr<QTextDocument> DocumentBuilder::build(const QString &templateText) const
{
    if (QFontDatabase::families().isEmpty()) {
        throw SuiteError(u"No hay tipos de letra instalados: el documento saldría en blanco. "
                         "Instale un tipo de letra (por ejemplo fonts-dejavu-core)."_s);
    }
    const bool rich = Qt::mightBeRichText(templateText);
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(m_font);
    document->setDocumentMargin(0); // the page's margins are the printer's
    if (rich)
        document->setHtml(fill(templateText, true));
    else
        document->setPlainText(fill(templateText, false));
    drawQrCodes(*document);
    return document;
}

} // namespace suite
