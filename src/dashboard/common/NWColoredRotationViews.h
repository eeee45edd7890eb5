#pragma once

#include "uikit/controls/views/NWColoredView.h"

#include <QString>

/// A coloured view under a full-window pie: a rotate gesture over it posts its pie's own
/// notification. It paints as `NWColoredView`. Main thread only.
class NWColoredPieRotationView : public NWColoredView {
    Q_OBJECT
public:
    NWColoredPieRotationView(QString notificationName, QWidget* parent);

protected:
    bool event(QEvent* event) override;

private:
    QString m_notificationName;
};

/// The views of the three pies, posting "PieRotation_NW", "PieRotation_A" and "PieRotation_L".
class NWColoredRotationView_NW : public NWColoredPieRotationView {
    Q_OBJECT
public:
    explicit NWColoredRotationView_NW(QWidget* parent = nullptr);
};

class NWColoredRotationView_A : public NWColoredPieRotationView {
    Q_OBJECT
public:
    explicit NWColoredRotationView_A(QWidget* parent = nullptr);
};

class NWColoredRotationView_L : public NWColoredPieRotationView {
    Q_OBJECT
public:
    explicit NWColoredRotationView_L(QWidget* parent = nullptr);
};
