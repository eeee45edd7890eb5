#pragma once

#include <QString>
#include <QWidget>

class QLabel;

/// The row of a category choice list: the category's name and, on the chosen row, the choice
/// mark (U+F05D of the icon font). The report choice popover shows its categories with it too.
class LnChartSettCellView : public QWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 24;
    /// The choice mark: a circled tick of the icon font.
    static constexpr char16_t choiceMark = 0xF05D;

    explicit LnChartSettCellView(QWidget* parent = nullptr);

    QLabel* categoryNameLabel() const { return m_categoryNameLabel; }
    QLabel* categorySelected() const { return m_categorySelected; }
    /// Shows or clears the choice mark.
    void setMarked(bool marked);
    bool isMarked() const;
    /// Below 1 the texts are dimmed to the palette's greyed text colour (`KitColors::setGreyed`),
    /// which follows appearance switches; 1 draws them undimmed.
    void setTextOpacity(qreal opacity);
    qreal textOpacity() const { return m_textOpacity; }

private:
    qreal m_textOpacity = 1.0;
    QLabel* m_categoryNameLabel;
    QLabel* m_categorySelected;
};
