#pragma once

#include "uikit/controls/views/NWColoredView.h"

/// The coloured views under the full-window pies: a rotate gesture over one posts the
/// notification of its own pie only ("PieRotation_NW", "PieRotation_A", "PieRotation_L").
/// They paint as `NWColoredView`. Main thread only.
class NWColoredRotationView_NW : public NWColoredView {
    Q_OBJECT
public:
    explicit NWColoredRotationView_NW(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
};

class NWColoredRotationView_A : public NWColoredView {
    Q_OBJECT
public:
    explicit NWColoredRotationView_A(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
};

class NWColoredRotationView_L : public NWColoredView {
    Q_OBJECT
public:
    explicit NWColoredRotationView_L(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
};
