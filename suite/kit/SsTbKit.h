#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace suite {

// The suite's tab strip: a row of captions over a page area. Controls are
// added to a tab and placed in the strip's own coordinates (their twips
// geometry); only the controls of the selected tab are shown. Assistive
// technology sees a page tab list with one page tab per caption.
class ssTbKit : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int tabcount READ tabcount WRITE setTabcount)
    Q_PROPERTY(int tab READ tab WRITE setTab)
    Q_PROPERTY(int activetabheight READ activetabheight WRITE setActivetabheight)
    Q_PROPERTY(int tabstyle READ tabstyle WRITE setTabstyle)
    Q_PROPERTY(int tabtheme READ tabtheme WRITE setTabtheme)
    Q_PROPERTY(bool showfocusrect READ showfocusrect WRITE setShowfocusrect)
    Q_PROPERTY(int hovercolorinverted READ hovercolorinverted WRITE setHovercolorinverted)
    Q_PROPERTY(bool enabled READ isOwnEnabled WRITE setEnabled)

public:
    explicit ssTbKit(QWidget *parent = nullptr);
    ~ssTbKit() override;

    int tabcount() const { return m_captions.size(); }
    void setTabcount(int count);
    int tab() const { return m_tab; }
    // Selects a tab (0..tabcount-1; others are refused silently); raises
    // TabChanged with the previous tab when the value changes.
    void setTab(int tab);
    int activetabheight() const { return m_activetabheight; }
    void setActivetabheight(int pixels);
    int tabstyle() const { return m_tabstyle; }
    void setTabstyle(int style) { m_tabstyle = style; update(); }
    int tabtheme() const { return m_tabtheme; }
    void setTabtheme(int theme) { m_tabtheme = theme; update(); }
    bool showfocusrect() const { return m_showfocusrect; }
    void setShowfocusrect(bool on) { m_showfocusrect = on; update(); }
    int hovercolorinverted() const { return m_hovercolorinverted; }
    void setHovercolorinverted(int value) { m_hovercolorinverted = value; update(); }
    bool isOwnEnabled() const;

    void setTabCaption(int tab, const QString &caption);
    QString tabCaption(int tab) const;
    void addTabControl(int tab, QWidget *control);
    QList<QWidget *> tabControls(int tab) const;
    // Where a click selects the tab (empty for a tab that does not exist).
    QRect captionRect(int tab) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void TabChanged(int previousTab);
    void KeyDown(int keyCode); // keys pressed while the strip has the focus

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;

private:
    void showSelectedControls();
    int captionHeight() const;

    QStringList m_captions;
    QList<QList<QWidget *>> m_controls;
    int m_tab = 0;
    int m_hover = -1;
    int m_activetabheight = 21;
    int m_tabstyle = 0;
    int m_tabtheme = 0;
    bool m_showfocusrect = true;
    int m_hovercolorinverted = 0;
};

} // namespace suite
