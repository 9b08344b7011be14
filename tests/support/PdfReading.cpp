#include "tests/support/PdfReading.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString missingPdfTool()
{
    for (const QString &tool : {u"pdftotext"_s, u"pdfinfo"_s, u"pdftoppm"_s, u"zbarimg"_s}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return tool;
    }
    return {};
}

QString toolOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(program), arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString &file)
{
    return toolOutput(u"pdftotext"_s, {file, u"-"_s}).normalized(QString::NormalizationForm_KC).simplified();
}

QString pdfInfo(const QString &file, const QString &key)
{
    const QRegularExpression line(u"^"_s + key + u":\\s*(.*)$"_s, QRegularExpression::MultilineOption);
    return line.match(toolOutput(u"pdfinfo"_s, {file})).captured(1).trimmed();
}

QString qrOf(const QString &file, int page)
{
    const QString png = file + u"-page"_s + QString::number(page), at = QString::number(page);
    toolOutput(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, u"150"_s, u"-f"_s, at, u"-l"_s, at, u"-singlefile"_s, file, png});
    return toolOutput(u"zbarimg"_s, {u"--raw"_s, u"-q"_s, png + u".png"_s}).trimmed();
}
