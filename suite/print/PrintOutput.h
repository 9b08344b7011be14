#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>

class QPrinter;
class QTextDocument;

namespace suite {

class PagedDocument;

// Where a document goes. A person sees it in the print preview and prints it
// from there (to a printer or to PDF); an unattended host gets a PDF in its
// print directory and no dialog ever opens.
class PrintOutput
{
public:
    PrintOutput(const QPageLayout &layout, int copies, const QString &printerName, const QString &title);

    // Paints the whole document on the printer it is given, opening it
    // itself; SuiteError when it cannot.
    using Painting = std::function<void(QPrinter *printer)>;

    struct Delivery
    {
        QString pdf;          // the PDF written when unattended; empty after a person's preview
        bool printed = false; // written, or printed from the preview (not just looked at)
    };
    // fileStem names the PDF ("responsiva_af" gives
    // "responsiva_af-20250310-142201.pdf", then "-2", "-3"... in the same
    // second); an existing file is never overwritten.
    Delivery deliver(QTextDocument &document, const QString &fileStem) const;
    Delivery deliver(const Painting &paint, const QString &fileStem) const;
    // A person's preview draws only the pages in view (PagedPreview).
    Delivery deliver(const PagedDocument &document, const QString &fileStem) const;

private:
    void setUp(QPrinter &printer) const;
    QString writePdf(const Painting &paint, const QString &fileStem) const;

    QPageLayout m_layout;
    int m_copies;
    QString m_printerName;
    QString m_title;
};

} // namespace suite
