#include "dashboard/totals/WelcomeView.h"

#include "app/alerts/ExternalLinks.h"
#include "app/alerts/NWTrackedHyperlinkView.h"
#include "model/settings/Preferences.h"
#include "platform/Appearance.h"
#include "platform/Strings.h"
#include "uikit/extensions/AttributedStringHyperlink.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

WelcomeView::WelcomeView(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"startupView"_s);
    setFixedWidth(420);

    auto* title = new QLabel(platform::Strings::tr("Welcome to Mervane"), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setWeight(QFont::Light);
    title->setFont(titleFont);

    auto* body = new QLabel(
        platform::Strings::tr("Add your asset and liability categories, then record your net worth once a "
                              "month. The dashboard shows your newest totals, what they are made of and how "
                              "they grew from year to year."),
        this);
    body->setWordWrap(true);
    body->setTextFormat(Qt::PlainText);

    m_dravelHyperlink = new NWTrackedHyperlinkView(this);
    m_dravelHyperlink->setObjectName(u"dravelHyperlink"_s);
    m_dravelHyperlink->setTextFormat(Qt::RichText);
    m_dravelHyperlink->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_dravelHyperlink->setOpenExternalLinks(false);
    showLink();
    connect(m_dravelHyperlink, &QLabel::linkActivated, this, [this](const QString& link) {
        ExternalLinks::open(QUrl(link), this, [this](const QString& text) { Q_EMIT linkNotOpened(text); });
    });

    m_showOnStart = new QCheckBox(platform::Strings::tr("Show this welcome at start"), this);
    m_showOnStart->setObjectName(u"showOnStartCheckBox"_s);
    m_showOnStart->setChecked(Preferences::showStartForm());
    connect(m_showOnStart, &QCheckBox::toggled, this, [this](bool on) { showOnStartChanged(on); });

    m_closeButton = new QToolButton(this);
    m_closeButton->setObjectName(u"closeWelcomeButton"_s);
    m_closeButton->setText(platform::Strings::tr("Close"));
    m_closeButton->setAutoRaise(true);
    connect(m_closeButton, &QToolButton::clicked, this, &WelcomeView::closeRequested);

    auto* top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(m_closeButton, 0, Qt::AlignTop);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_showOnStart);
    bottom->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addWidget(body);
    layout->addWidget(m_dravelHyperlink);
    layout->addLayout(bottom);
    // The popover takes the view's size as it is: the panel is as tall as its lines.
    resize(width(), layout->totalHeightForWidth(width()));
}

void WelcomeView::showLink()
{
    const QUrl page = ExternalLinks::productPage();
    // The link's blue on the panel's window grey, which it met at 4.3:1 in light and 2.5:1 in
    // dark: darkened, or lightened, to 4.9:1, a margin for the thin glyphs.
    const QColor blue
        = platform::readableOn(QColor(0x0A, 0x60, 0xFF), palette().color(QPalette::Window), 4.9);
    const QString text = AttributedStringHyperlink::hyperlinkFromString(page.toString(), page, blue);
    if (m_dravelHyperlink->text() != text)
        m_dravelHyperlink->setText(text);
}

void WelcomeView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_dravelHyperlink)
        showLink();
}

bool WelcomeView::shouldShow(bool alreadyConsidered)
{
    return !alreadyConsidered && Preferences::showStartForm();
}

void WelcomeView::showOnStartChanged(bool on)
{
    Preferences::setShowStartForm(on);
}
