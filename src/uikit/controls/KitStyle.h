#pragma once

#include <QProxyStyle>

/// The application's style: Fusion, with check boxes and radio buttons outlined so that they
/// stay visible in the dark appearance, where Fusion draws them a shade darker than the window
/// and they vanish on the dark popovers, and line edits outlined in dark at 3:1 for the same reason.
class KitStyle : public QProxyStyle {
    Q_OBJECT
public:
    KitStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;
};
