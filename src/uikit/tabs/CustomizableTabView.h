#pragma once

#include <QColor>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class QStackedWidget;
class SegmentedControl;

/// A tab view whose tab strip is a centred segmented control, one segment per item, on a
/// rounded bezel with an inner shadow. Clicking a segment selects its tab and emits
/// `selectedTabChanged`; selecting from code moves the highlighted segment and emits
/// nothing. The control is rebuilt after every added or removed item and keeps the
/// selection. The control is the child named "segmentedControl". Main thread only.
class CustomizableTabView : public QWidget {
    Q_OBJECT
public:
    /// An empty tab view, as placed by the screens that fill it.
    explicit CustomizableTabView(QWidget* parent = nullptr);
    /// A tab view made in code: two items "1"/"Tab" and "2"/"View".
    static CustomizableTabView* makeWithDefaultItems(QWidget* parent = nullptr);

    /// Takes ownership of `view` (an empty page when null).
    void addTabViewItem(const QString& identifier, const QString& label, QWidget* view = nullptr);
    /// Removes the item at `index` and deletes its view.
    void removeTabViewItem(int index);
    int numberOfTabViewItems() const { return static_cast<int>(m_items.size()); }
    QString identifierAt(int index) const;
    QString labelAt(int index) const;
    QWidget* viewAt(int index) const;
    /// -1 without items.
    int indexOfSelectedTabViewItem() const { return m_selected; }

    void selectTabViewItemAtIndex(int index);
    void selectTabViewItemWithIdentifier(const QString& identifier);

    /// Rebuilds the segmented control from the items.
    void rework();
    /// Re-centres the control at its natural size; runs before every drawing.
    void viewWillDraw();

    /// The control's natural width after the last `rework`.
    double maxWidth() const { return m_maxWidth; }

    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);
    QColor windowBackgroundColor() const { return m_windowBackgroundColor; }
    void setWindowBackgroundColor(const QColor& color);
    /// Dark grey once the control is first built without one.
    QColor bezelColor() const { return m_bezelColor; }
    void setBezelColor(const QColor& color);

Q_SIGNALS:
    /// The user clicked the segment at this index.
    void selectedTabChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Item {
        QString identifier;
        QString label;
        QPointer<QWidget> view;
    };

    void ctrlSelected(int segment);
    void showSelected();
    void layoutContent();

    QList<Item> m_items;
    int m_selected = -1;
    QStackedWidget* m_stack = nullptr;
    QPointer<SegmentedControl> m_segmentedControl;
    double m_maxWidth = 0;
    QColor m_backgroundColor;
    QColor m_windowBackgroundColor;
    QColor m_bezelColor;
};
