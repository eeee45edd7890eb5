#pragma once

#include <QString>
#include <QWidget>

class QEvent;

/// Posts `name` with the rotation (degrees, a double) when `event` is a native rotate gesture,
/// and accepts it so that it goes no further; false, leaving the event alone, for any other.
/// The rotation views below share it.
bool postPieRotationGesture(QEvent* event, const QString& name);

/// The view under the dashboard pie: a rotate gesture over it (or over a child that lets the
/// gesture through, as the graph host does) posts "PieRotation". Draws nothing itself.
/// Main thread only.
class NWColoredRotationView : public QWidget {
    Q_OBJECT
public:
    explicit NWColoredRotationView(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
};
