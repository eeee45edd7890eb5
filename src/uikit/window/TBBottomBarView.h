#pragma once

#include "uikit/window/TBWindowBackgroundView.h"

/// The classic window's bottom bar.
class TBBottomBarView : public TBWindowBackgroundView {
    Q_OBJECT
public:
    explicit TBBottomBarView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
