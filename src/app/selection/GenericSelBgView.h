#pragma once

#include <QWidget>

/// The selection popover's background: a near-white fill ("#FEFEFEff") under its
/// controls, the window colour in the dark appearance.
class GenericSelBgView : public QWidget {
    Q_OBJECT
public:
    explicit GenericSelBgView(QWidget* parent = nullptr);

    /// The colour the view fills with in the current appearance.
    static QColor fillColor();

protected:
    void paintEvent(QPaintEvent* event) override;
};
