#include "uikit/window/TBWindowBorderView.h"

#include "platform/Appearance.h"
#include "platform/Resources.h"

#include <QPainter>

using namespace Qt::Literals::StringLiterals;

TBWindowBorderView::TBWindowBorderView(QWidget* window) : QWidget(window)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

QColor TBWindowBorderView::color(bool dark)
{
    const QColor line = platform::namedColor(u"Separator"_s, dark);
    const QColor under = platform::namedColor(u"WindowBackground"_s, dark);
    const double a = line.alphaF();
    return QColor::fromRgbF(float(line.redF() * a + under.redF() * (1 - a)),
        float(line.greenF() * a + under.greenF() * (1 - a)),
        float(line.blueF() * a + under.blueF() * (1 - a)));
}

void TBWindowBorderView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor outline = color(platform::isDarkAppearance());
    const QRect r = rect();
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), outline);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), outline);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), outline);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), outline);
}
