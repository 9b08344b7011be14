#include "suite/kit/ListView.h"

#include "suite/kit/KeyCodes.h"
#include "suite/kit/KitEnabled.h"
#include "suite/kit/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>

namespace suite {

namespace {
constexpr double DefaultColumnTwips = 1440.0;
constexpr int CaptionIndent = 4;
}

// The column headers with the list's caption over them: the caption takes the
// top of the header's own area, so the list keeps its place and size.
class ListView::CaptionedHeader : public QHeaderView
{
public:
    explicit CaptionedHeader(QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent)
        , m_label(new QLabel(this))
    {
        QFont bold = m_label->font();
        bold.setBold(true);
        m_label->setFont(bold);
        m_label->setIndent(CaptionIndent);
        m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_label->hide();
    }

    QString caption() const { return m_label->text(); }
    void setCaption(const QString &caption)
    {
        m_label->setText(caption);
        m_label->setVisible(!caption.isEmpty());
        place();
    }

    QSize sizeHint() const override
    {
        QSize hint = QHeaderView::sizeHint();
        hint.rheight() += captionHeight();
        return hint;
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QHeaderView::resizeEvent(event);
        m_label->setGeometry(0, 0, width(), captionHeight());
    }
    void changeEvent(QEvent *event) override
    {
        QHeaderView::changeEvent(event);
        if (event->type() == QEvent::FontChange) {
            QFont bold = font();
            bold.setBold(true);
            m_label->setFont(bold);
            place();
        }
    }

private:
    int captionHeight() const { return m_label->text().isEmpty() ? 0 : m_label->sizeHint().height() + 2; }
    void place()
    {
        setViewportMargins(0, captionHeight(), 0, 0);
        m_label->setGeometry(0, 0, width(), captionHeight());
        updateGeometry();
        if (auto *list = qobject_cast<QAbstractItemView *>(parentWidget()))
            QMetaObject::invokeMethod(list, "updateGeometries");
    }

    QLabel *m_label;
};

ListView::ListView(QWidget *parent)
    : QTreeWidget(parent)
    , m_header(new CaptionedHeader(this))
{
    setHeader(m_header);
    setProperty("tag", QString());
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    setColumnCount(0);
    setHeaderLabels({});
}

ListView::~ListView() = default;

void ListView::addColumnHeader(const QString &text, double widthTwips)
{
    m_headers.append(text);
    setColumnCount(m_headers.size());
    setHeaderLabels(m_headers);
    const double twips = widthTwips < 0 ? DefaultColumnTwips : widthTwips;
    setColumnWidth(m_headers.size() - 1, int(twipsToPixelsX(this, twips) + 0.5));
    if (m_alignments.contains(m_headers.size() - 1))
        headerItem()->setTextAlignment(m_headers.size() - 1, m_alignments.value(m_headers.size() - 1));
}

void ListView::setColumnAlignment(int column, Qt::Alignment alignment)
{
    m_alignments.insert(column, alignment);
    if (column < m_headers.size())
        headerItem()->setTextAlignment(column, alignment);
    for (int i = 0; i < topLevelItemCount(); ++i)
        topLevelItem(i)->setTextAlignment(column, alignment);
}

QString ListView::caption() const
{
    return m_header->caption();
}

void ListView::setCaption(const QString &caption)
{
    m_header->setCaption(caption);
    setAccessibleName(caption);
}

void ListView::clearColumnHeaders()
{
    m_headers.clear();
    clear();
    setColumnCount(0);
}

int ListView::columnHeaderCount() const
{
    return m_headers.size();
}

QString ListView::columnHeaderText(int column) const
{
    return m_headers.value(column);
}

double ListView::columnHeaderWidth(int column) const
{
    if (column < 0 || column >= m_headers.size())
        return 0;
    return pixelsToTwipsX(this, columnWidth(column));
}

int ListView::addItem(const QString &text)
{
    auto *item = new QTreeWidgetItem(this);
    item->setText(0, text);
    if (m_alignments.contains(0))
        item->setTextAlignment(0, m_alignments.value(0));
    // The new item is the last one; searching for it would make filling a
    // long list quadratic.
    return topLevelItemCount() - 1;
}

void ListView::addSubItem(int item, const QString &text)
{
    QTreeWidgetItem *row = topLevelItem(item);
    if (!row)
        return;
    // Sub-items fill the columns after the item's own, left to right.
    int column = 1;
    const QVariant filled = row->data(0, Qt::UserRole);
    if (filled.isValid())
        column = filled.toInt() + 1;
    row->setText(column, text);
    if (m_alignments.contains(column))
        row->setTextAlignment(column, m_alignments.value(column));
    row->setData(0, Qt::UserRole, column);
}

void ListView::clearItems()
{
    clear();
}

int ListView::itemCount() const
{
    return topLevelItemCount();
}

QStringList ListView::itemTexts(int item) const
{
    QStringList texts;
    const QTreeWidgetItem *row = topLevelItem(item);
    if (!row)
        return texts;
    const int filled = row->data(0, Qt::UserRole).isValid() ? row->data(0, Qt::UserRole).toInt() : 0;
    for (int c = 0; c <= filled; ++c)
        texts.append(row->text(c));
    return texts;
}

bool ListView::isOwnEnabled() const
{
    return ownEnabled(this);
}

void ListView::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT KeyDown(virtualKeyCode(event));
    QTreeWidget::keyPressEvent(event);
}

} // namespace suite
