#include "suite/print/PagedPreview.h"

#include "suite/data/SuiteError.h"
#include "suite/print/PagedDocument.h"
#include "suite/print/PrinterPage.h"

#include <QApplication>
#include <QCache>
#include <QDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <optional>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

constexpr int GapPixels = 16;      // around and between pages
constexpr double MostPerMm = 6;    // a small label is not blown up beyond about 150 dpi
constexpr int KeptKilobytes = 64 * 1024; // pages drawn, kept while scrolling back and forth

// The pages one under the other, each drawn the first time it comes into view.
class PageStrip : public QWidget
{
public:
    PageStrip(const PagedDocument &document, std::optional<SuiteError> &failure, QWidget *parent)
        : QWidget(parent)
        , m_document(document)
        , m_paper(document.pageLayout().fullRect(QPageLayout::Millimeter).size())
        , m_failure(failure)
        , m_drawn(KeptKilobytes)
    {
        setAccessibleName(u"Páginas"_s);
    }

    void fitWidth(int width)
    {
        const double perMm = std::min(MostPerMm, std::max(1.0, (width - 2.0 * GapPixels) / m_paper.width()));
        if (qFuzzyCompare(perMm, m_perMm))
            return;
        m_perMm = perMm;
        m_drawn.clear();
        resize(pageSize().width() + 2 * GapPixels,
               GapPixels + std::max(1, m_document.pageCount()) * (pageSize().height() + GapPixels));
        update();
    }

    // The page whose area holds the point y.
    int pageAt(int y) const
    {
        return std::clamp((y - GapPixels) / (pageSize().height() + GapPixels), 0,
                          std::max(0, m_document.pageCount() - 1));
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), palette().color(QPalette::Dark));
        const int pages = m_document.pageCount();
        for (int page = pageAt(event->rect().top()); page < pages; ++page) {
            const QRect area = pageRect(page);
            if (area.top() > event->rect().bottom())
                break;
            painter.fillRect(area.translated(3, 3), Qt::black);
            painter.drawImage(area, drawn(page));
        }
    }

private:
    QSize pageSize() const { return (m_paper * m_perMm).toSize(); }
    QRect pageRect(int page) const
    {
        return {QPoint(GapPixels, GapPixels + page * (pageSize().height() + GapPixels)), pageSize()};
    }

    // By value: the cache may drop a page as soon as it is kept.
    QImage drawn(int page)
    {
        if (const QImage *kept = m_drawn.object(page))
            return *kept;
        const double ratio = devicePixelRatioF();
        auto *image = new QImage((QSizeF(pageSize()) * ratio).toSize(), QImage::Format_RGB32);
        image->fill(Qt::white);
        // The page's own size in mm at the resolution of the picture, fonts included.
        const int perMetre = qRound(m_perMm * ratio * 1000);
        image->setDotsPerMeterX(perMetre);
        image->setDotsPerMeterY(perMetre);
        QPainter painter(image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        try {
            m_document.paintPage(painter, image, page);
        } catch (const SuiteError &error) {
            if (!m_failure)
                m_failure = error;
            painter.setPen(Qt::red);
            painter.drawText(image->rect(), Qt::AlignCenter | Qt::TextWordWrap, error.description());
        }
        painter.end();
        image->setDevicePixelRatio(ratio);
        const QImage result = *image;
        m_drawn.insert(page, image, std::max<qsizetype>(1, image->sizeInBytes() / 1024));
        return result;
    }

    const PagedDocument &m_document;
    QSizeF m_paper;
    std::optional<SuiteError> &m_failure;
    double m_perMm = 0;
    QCache<int, QImage> m_drawn;
};

// Keeps the pages as wide as the window.
class FitOnResize : public QObject
{
public:
    FitOnResize(QScrollArea *scroll, PageStrip *strip)
        : QObject(scroll)
        , m_scroll(scroll)
        , m_strip(strip)
    {}

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            m_strip->fitWidth(m_scroll->viewport()->width() - m_scroll->verticalScrollBar()->sizeHint().width());
        return false;
    }

private:
    QScrollArea *m_scroll;
    PageStrip *m_strip;
};

} // namespace

bool PagedPreview::show(const PagedDocument &document, QPrinter *printer, const QString &title)
{
    std::optional<SuiteError> failure;
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(u"vistaPreviaImpresion"_s);
    dialog.setWindowTitle(title.isEmpty() ? u"Vista previa"_s : u"Vista previa: "_s + title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *bar = new QHBoxLayout;
    auto *print = new QPushButton(u"&Imprimir…"_s, &dialog);
    new QShortcut(QKeySequence::Print, &dialog, print, &QPushButton::click);
    auto *where = new QLabel(&dialog);
    auto *close = new QPushButton(u"Cerrar"_s, &dialog);
    bar->addWidget(print);
    bar->addWidget(where, 1);
    bar->addWidget(close);
    auto *scroll = new QScrollArea(&dialog);
    auto *strip = new PageStrip(document, failure, scroll);
    scroll->setWidget(strip);
    scroll->setAlignment(Qt::AlignHCenter);
    scroll->setBackgroundRole(QPalette::Dark);
    scroll->setFocusPolicy(Qt::StrongFocus);
    layout->addLayout(bar);
    layout->addWidget(scroll, 1);

    const int pages = document.pageCount();
    const auto sayWhere = [=] {
        // The page in the middle of the view; at either end, the first or the
        // last, though several small pages may be in view.
        const QScrollBar *bar = scroll->verticalScrollBar();
        const int y = bar->value() == bar->minimum()   ? 0
                      : bar->value() == bar->maximum() ? strip->height()
                                                       : bar->value() + scroll->viewport()->height() / 2;
        where->setText(u"Página %1 de %2"_s.arg(strip->pageAt(y) + 1).arg(pages));
    };
    QObject::connect(scroll->verticalScrollBar(), &QScrollBar::valueChanged, &dialog, sayWhere);
    QObject::connect(scroll->verticalScrollBar(), &QScrollBar::rangeChanged, &dialog, sayWhere);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
    bool printed = false;
    QObject::connect(print, &QPushButton::clicked, &dialog, [&] {
        QPrintDialog choose(printer, &dialog);
        if (choose.exec() != QDialog::Accepted)
            return;
        try {
            // The print dialog has given the printer its queue's default
            // page; the document's own goes back on before it is painted.
            PrinterPage::apply(*printer, document.pageLayout());
            document.paint(printer);
            printed = true;
        } catch (const SuiteError &error) {
            failure = error;
        }
        dialog.accept();
    });

    if (const QScreen *screen = dialog.screen()) {
        const QSize room = screen->availableSize();
        dialog.resize(std::min(900, room.width()), std::min(1000, room.height()));
    }
    // Pages follow the width of the window.
    scroll->viewport()->installEventFilter(new FitOnResize(scroll, strip));
    scroll->setFocus();
    sayWhere();
    dialog.exec();
    if (failure)
        throw *failure;
    return printed;
}

} // namespace suite
