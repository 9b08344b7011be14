#include "suite/print/PrintPreview.h"

#include "suite/data/SuiteError.h"
#include "suite/print/DocumentPainter.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <optional>

using namespace Qt::StringLiterals;

namespace suite {

void PrintPreview::show(QTextDocument &document, QPrinter *printer, const QString &title)
{
    QPrintPreviewDialog dialog(printer, QApplication::activeWindow());
    dialog.setObjectName(u"vistaPreviaImpresion"_s);
    dialog.setWindowTitle(title.isEmpty() ? u"Vista previa"_s : u"Vista previa: "_s + title);
    if (const QScreen *screen = dialog.screen()) {
        const QSize room = screen->availableSize();
        dialog.resize(std::min(900, room.width()), std::min(1000, room.height()));
    }
    // An exception must not cross the dialog's event loop: keep it for later.
    std::optional<SuiteError> failure;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter *target) {
        try {
            DocumentPainter::paint(document, target);
        } catch (const SuiteError &error) {
            failure = error;
        }
    });
    dialog.exec();
    if (failure)
        throw *failure;
}

} // namespace suite
