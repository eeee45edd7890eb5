#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

/// The application's plain panel: fills itself with a colour and can tile a named
/// resource image over it, anchored at the view's own origin. The setters do not
/// redraw; a caller that changes them at run time calls update() itself.
class NWColoredView : public QWidget {
    Q_OBJECT
public:
    explicit NWColoredView(QWidget* parent = nullptr);

    /// White by default; an invalid colour fills nothing.
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color) { m_backgroundColor = color; }
    /// The name of a resource image (platform::image); null for colour only.
    QString backgroundImageName() const { return m_backgroundImageName; }
    void setBackgroundImageName(const QString& name) { m_backgroundImageName = name; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_backgroundColor = Qt::white;
    QString m_backgroundImageName;
};
