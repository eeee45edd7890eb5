#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

/// Stands in the place of a screen that is not built yet: the screen's name, centred.
class ScreenPlaceholder : public QWidget {
    Q_OBJECT
public:
    explicit ScreenPlaceholder(const QString& name, QWidget* parent = nullptr);

    QString name() const { return m_label->text(); }

private:
    QLabel* m_label = nullptr;
};
