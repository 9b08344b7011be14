#pragma once

#include <QPageLayout>
#include <QString>

class QPrinter;
class QTextDocument;

namespace suite {

// Where a document goes. A person sees it in the print preview and prints it
// from there (to a printer or to PDF); an unattended host gets a PDF in its
// print directory and no dialog ever opens.
class PrintOutput
{
public:
    PrintOutput(const QPageLayout &layout, int copies, const QString &printerName, const QString &title);

    struct Delivery
    {
        QString pdf;          // the PDF written when unattended; empty after a person's preview
        bool printed = false; // written, or printed from the preview (not just looked at)
    };
    // fileStem names the PDF ("responsiva_af" gives
    // "responsiva_af-20250310-142201.pdf", then "-2", "-3"... in the same
    // second); an existing file is never overwritten.
    Delivery deliver(QTextDocument &document, const QString &fileStem) const;

private:
    void setUp(QPrinter &printer) const;
    QString writePdf(QTextDocument &document, const QString &fileStem) const;

    QPageLayout m_layout;
    int m_copies;
    QString m_printerName;
    QString m_title;
};

} // namespace suite
