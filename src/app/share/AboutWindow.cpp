#include "app/share/AboutWindow.h"

#include "app/alerts/ExternalLinks.h"
#include "app/alerts/NWTrackedHyperlinkView.h"
#include "app/share/MakerAddresses.h"
#include "platform/Appearance.h"
#include "platform/Fonts.h"
#include "platform/Resources.h"
#include "platform/Strings.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;
using platform::Strings;

namespace {

constexpr int iconSize = 96;
constexpr int sheetTextWidth = 260;

// The application's icon, drawn from its vector image for the screen it is on.
class AppIconView : public QWidget {
public:
    explicit AppIconView(QWidget* parent) : QWidget(parent) { setFixedSize(iconSize, iconSize); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(QRectF(rect()), platform::image(u"mervane"_s, size(), devicePixelRatioF()));
    }
};

// The palette's link colour, darkened on a light background (lightened on a dark one) until
// it reads as well as body text does.
QColor readableLinkColor(const QPalette& palette)
{
    const QColor background = palette.color(QPalette::Window);
    const bool darkBackground = platform::relativeLuminance(background) < 0.18;
    QColor link = palette.color(QPalette::Link);
    for (int step = 0; step < 12 && platform::contrastRatio(link, background) < 4.6; ++step)
        link = darkBackground ? link.lighter(110) : link.darker(110);
    return link;
}

QLabel* makeLabel(const QString& name, const QFont& font, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(u"aboutSheet"_s);
    setWindowTitle(Strings::tr("About Mervane"));
    setWindowModality(Qt::WindowModal);

    auto* icon = new AppIconView(this);
    icon->setObjectName(u"applicationIcon"_s);
    auto* name = makeLabel(u"applicationName"_s, platform::designFont(22, QFont::Bold), this);
    name->setText(QCoreApplication::applicationName());
    m_versionNumberTextCtl = makeLabel(u"versionNumberTextCtl"_s, platform::designFont(13), this);
    m_versionNumberTextCtl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_dravelHyperlink = new NWTrackedHyperlinkView(this);
    m_dravelHyperlink->setObjectName(u"dravelHyperlink"_s);
    m_dravelHyperlink->setFont(platform::designFont(13));
    m_dravelHyperlink->setAlignment(Qt::AlignCenter);
    connect(m_dravelHyperlink, &QLabel::linkActivated, this, [this](const QString& link) {
        ExternalLinks::openFrom(QUrl(link, QUrl::StrictMode), m_dravelHyperlink);
    });
    m_closeButton = new QPushButton(Strings::tr("Close"), this);
    m_closeButton->setObjectName(u"closeButton"_s);
    m_closeButton->setDefault(true);
    connect(m_closeButton, &QPushButton::clicked, this, [this] { closeAboutSheet(1); });

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(40, 28, 40, 20);
    layout->setSpacing(6);
    // Room around the texts, as a sheet has.
    layout->addSpacerItem(new QSpacerItem(sheetTextWidth, 0, QSizePolicy::Fixed, QSizePolicy::Fixed));
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    layout->addSpacing(6);
    layout->addWidget(name);
    auto* version = new QHBoxLayout;
    version->setSpacing(4);
    version->addStretch(1);
    auto* versionCaption = makeLabel(u"versionCaption"_s, platform::designFont(13), this);
    versionCaption->setText(Strings::tr("Version"));
    version->addWidget(versionCaption);
    version->addWidget(m_versionNumberTextCtl);
    version->addStretch(1);
    layout->addLayout(version);
    layout->addSpacing(10);
    layout->addWidget(m_dravelHyperlink);
    layout->addSpacing(14);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

void AboutWindow::setHyperlinkWithTextField(NWTrackedHyperlinkView* field)
{
    if (!field)
        return;
    const QUrl page = MakerAddresses::makerPage();
    // "mervane.app" for "https://mervane.app/".
    QString text = page.toDisplayString(QUrl::RemoveScheme);
    if (text.startsWith(u"//"_s))
        text.remove(0, 2);
    if (text.endsWith(u'/'))
        text.chop(1);
    field->setTextFormat(Qt::RichText);
    field->setText(
        u"<a href=\"%1\" style=\"color: %2\">%3</a>"_s.arg(page.toString(QUrl::FullyEncoded).toHtmlEscaped(),
            readableLinkColor(field->window()->palette()).name(),
            (text.isEmpty() ? page.toString() : text).toHtmlEscaped()));
    field->setTextInteractionFlags(Qt::TextBrowserInteraction);
    field->setOpenExternalLinks(false);
}

void AboutWindow::closeAboutSheet(int tag)
{
    done(tag == 1 ? 1 : 0);
}

QRect AboutWindow::centredFrame(const QRect& parent, const QSize& size, const QRect& screen)
{
    QRect frame(QPoint(0, 0), size);
    frame.moveCenter(parent.center());
    if (screen.isEmpty())
        return frame;
    frame.moveLeft(std::max(screen.left(), std::min(frame.left(), screen.right() + 1 - frame.width())));
    frame.moveTop(std::max(screen.top(), std::min(frame.top(), screen.bottom() + 1 - frame.height())));
    return frame;
}

void AboutWindow::placeOnParent()
{
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    adjustSize();
    const QScreen* screen = owner->screen();
    move(centredFrame(
        owner->frameGeometry(), frameGeometry().size(), screen ? screen->availableGeometry() : QRect())
             .topLeft());
}

void AboutWindow::changeEvent(QEvent* event)
{
    // A rich text keeps the colours it was laid out with: the link follows the appearance (the
    // sheet's palette is new here, its children's only after this).
    if (event->type() == QEvent::PaletteChange)
        setHyperlinkWithTextField(m_dravelHyperlink);
    QDialog::changeEvent(event);
}

void AboutWindow::showEvent(QShowEvent* event)
{
    placeOnParent();
    QDialog::showEvent(event);
    m_closeButton->setFocus();
}

void AboutWindow::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // Without a frame of its own the sheet needs an edge against the window behind it, in
    // either appearance.
    QPainter painter(this);
    QColor edge = palette().color(QPalette::WindowText);
    edge.setAlpha(80);
    painter.setPen(edge);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
