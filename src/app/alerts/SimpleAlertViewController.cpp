#include "app/alerts/SimpleAlertViewController.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kHorizontalMargin = 16;
constexpr int kVerticalMargin = 12;
} // namespace

SimpleAlertViewController::SimpleAlertViewController(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SimpleAlertViewController"));
    m_alertCtl = new QLabel;
    m_alertCtl->setObjectName(QStringLiteral("alertCtl"));
    // Messages carry file names and error texts from the system: never rich text.
    m_alertCtl->setTextFormat(Qt::PlainText);
    m_alertCtl->setWordWrap(true);
    m_alertCtl->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_alertCtl->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // A message taller than the popover may be scrolls rather than being cut off.
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_alertCtl);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_alertCtl->setAutoFillBackground(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kHorizontalMargin, kVerticalMargin, kHorizontalMargin, kVerticalMargin);
    layout->addWidget(m_scroll);
    resize(fittingSize());
}

QSize SimpleAlertViewController::fittingSize() const
{
    const int textHeight = m_alertCtl->heightForWidth(fixedWidth - 2 * kHorizontalMargin);
    const int height = std::clamp(textHeight + 2 * kVerticalMargin, minimumHeight, maximumHeight);
    return { fixedWidth, height };
}
