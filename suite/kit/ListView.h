#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

namespace suite {

// A list in report view (the depreciation lists): column headers with a
// width in twips, items with sub-items, and a key event carrying the key code.
// A caption, when set, stands over the column headers inside the list's own
// area, and names the list to assistive technology.
class ListView : public QTreeWidget
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isOwnEnabled WRITE setEnabled)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    explicit ListView(QWidget *parent = nullptr);
    ~ListView() override;

    // widthTwips < 0: the list's default width (1440 twips).
    void addColumnHeader(const QString &text, double widthTwips = -1);
    void clearColumnHeaders();
    int columnHeaderCount() const;
    QString columnHeaderText(int column) const;
    double columnHeaderWidth(int column) const; // twips
    // How a column's header and cells are aligned (items added later too).
    void setColumnAlignment(int column, Qt::Alignment alignment);

    QString caption() const;
    void setCaption(const QString &caption);

    // Returns the new item's index.
    int addItem(const QString &text);
    void addSubItem(int item, const QString &text);
    void clearItems();
    int itemCount() const;
    QStringList itemTexts(int item) const;

    bool isOwnEnabled() const;
    Q_INVOKABLE void limpia() { clearItems(); }

Q_SIGNALS:
    void KeyDown(int keyCode);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    class CaptionedHeader;
    QStringList m_headers;
    QHash<int, Qt::Alignment> m_alignments;
    CaptionedHeader *m_header;
};

} // namespace suite
