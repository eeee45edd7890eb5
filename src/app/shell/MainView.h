#pragma once

#include <QPointer>
#include <QWidget>

/// The container below the title bar: the sidebar along its left edge and, beside it, the
/// one screen shown now, filling the rest. Screens that are not shown stay its hidden
/// children.
class MainView : public QWidget {
    Q_OBJECT
public:
    explicit MainView(QWidget* parent = nullptr);

    /// Takes ownership; placed at x 0, `sidebarWidth` wide.
    void setSidebar(QWidget* sidebar, int sidebarWidth);
    /// How far right of the left edge screens start.
    int screenLeft() const { return m_screenLeft; }

    /// Nothing when `oldView` and `newView` are the same or one of them (or `container`) is
    /// missing; otherwise `newView` becomes a child of `container` if it is not one yet and
    /// takes the place of `oldView`, which is hidden (not deleted).
    static void replaceSubview(MainView* container, QWidget* oldView, QWidget* newView);

    QWidget* shownScreen() const { return m_shown; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutViews();

    QPointer<QWidget> m_sidebar;
    QPointer<QWidget> m_shown;
    int m_screenLeft = 0;
};
