#include "suite/print/PrintPreview.h"

#include "suite/data/SuiteError.h"
#include "suite/print/PrinterPage.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <optional>

using namespace Qt::StringLiterals;

namespace suite {

bool PrintPreview::show(const std::function<void(QPrinter *)> &paint, QPrinter *printer, const QPageLayout &layout,
                        const QString &title)
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
            // The print dialog has given the printer its queue's default page
            // by now; the document's own goes back on before it is painted.
            PrinterPage::apply(*target, layout);
            paint(target);
        } catch (const SuiteError &error) {
            failure = error;
        }
    });
    // The preview closes itself (accepted) once it has printed.
    const bool printed = dialog.exec() == QDialog::Accepted;
    if (failure)
        throw *failure;
    return printed;
}

} // namespace suite
