#include "charts/common/ChartToolButton.h"

#include "platform/Appearance.h"
#include "platform/Resources.h"

ChartToolButton::ChartToolButton(char16_t glyph, const QString& toolTip, QWidget* parent)
    : QToolButton(parent)
{
    setText(QString(QChar(glyph)));
    QFont glyphFont(QStringLiteral("FontAwesome"));
    glyphFont.setPixelSize(15);
    setFont(glyphFont);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setToolTip(toolTip);
    setFixedSize(side, side);
    applyAppearance();
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, [this](bool) { applyAppearance(); });
}

void ChartToolButton::applyAppearance()
{
    const QString text = platform::namedColor(QStringLiteral("ChartText")).name(QColor::HexArgb);
    const QString hover = QColor::fromRgbF(0.5f, 0.5f, 0.5f, 0.15f).name(QColor::HexArgb);
    setStyleSheet(
        QStringLiteral("QToolButton { color: %1; background: transparent; border: none; border-radius: 4px; }"
                       "QToolButton:hover { background: %2; }")
            .arg(text, hover));
}
