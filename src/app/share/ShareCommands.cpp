#include "app/share/ShareCommands.h"

#include "app/alerts/AskManualDownload.h"
#include "app/alerts/ExternalLinks.h"
#include "app/share/AboutWindow.h"
#include "app/share/MailDrafts.h"
#include "app/share/MakerAddresses.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "platform/YUpGeometry.h"
#include "uikit/popover/PopoverGeometry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>

using namespace Qt::Literals::StringLiterals;
using platform::Strings;

namespace {

// The title-bar buttons are the design's y-up views, not flipped ones: the help popover takes
// the maximum-y edge, as the other title-bar popovers do.
constexpr platform::RectEdge helpPopoverEdge = platform::RectEdge::MaxY;

QIcon menuIcon(const QString& name)
{
    QIcon icon;
    for (const int size : { 16, 32, 48 }) {
        const QImage image = platform::image(name, QSize(size, size));
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace

ShareCommands::ShareCommands(Host host, QObject* parent) : QObject(parent), m_host(std::move(host))
{
}

ShareCommands::~ShareCommands()
{
    delete m_sharePicker.data();
    // A sheet made without a window to belong to is this object's own.
    if (m_aboutSheet && !m_aboutSheet->parent())
        delete m_aboutSheet.data();
}

QString ShareCommands::promotionalText()
{
    return u"#Mervane 2 app for Mac from @%1. %2"_s.arg(
        MakerAddresses::socialHandle(), ExternalLinks::productPage().toString());
}

QPoint ShareCommands::menuPosition(const QRect& anchor, const QSize& menuSize)
{
    const QRectF anchorYUp = platform::screenToYUp(QRectF(anchor));
    const QRectF frame = PKPopoverGeometry::popoverFrame(
        anchorYUp, QSizeF(menuSize), PKPopoverGeometry::arrowDirectionForEdge(platform::RectEdge::MaxY));
    return platform::screenToYDown(frame).topLeft().toPoint();
}

void ShareCommands::shareButtonHandler(QAbstractButton* sender)
{
    if (!sender)
        return;
    delete m_sharePicker.data();
    auto* menu = new QMenu;
    menu->setObjectName(u"sharePicker"_s);
    const auto add = [this, menu](const QString& title, const QString& name, const QString& image,
                         void (ShareCommands::*command)()) {
        QAction* action = menu->addAction(title);
        action->setObjectName(name);
        if (!image.isEmpty())
            action->setIcon(menuIcon(image));
        connect(action, &QAction::triggered, this, command);
    };
    add(Strings::tr("Copy"), u"copyShareItem"_s, {}, &ShareCommands::copyPromotionalText);
    add(Strings::tr("Report an Issue ..."), u"reportAnIssueItem"_s, u"BugN"_s,
        &ShareCommands::reportingAnIssue);
    add(Strings::tr("Feature request"), u"featureRequestItem"_s, u"EmailN"_s, &ShareCommands::featureRequest);
    // Gone once closed: the next share makes a new one. Deleted later, as an item's action
    // comes after the menu has hidden.
    connect(menu, &QMenu::aboutToHide, menu, &QObject::deleteLater);
    menu->installEventFilter(this);
    m_sharePicker = menu;
    m_shareAnchor = sender;
    const QRect anchor(sender->mapToGlobal(QPoint(0, 0)), sender->size());
    menu->popup(menuPosition(anchor, menu->sizeHint()));
}

bool ShareCommands::eventFilter(QObject* watched, QEvent* event)
{
    // As a menu button's own menu does: a press on the share button closes the menu and is not
    // passed on to the button, which would open it again.
    // The type first: while the menu is being destroyed it is no longer a QMenu to compare with.
    if (event->type() == QEvent::MouseButtonPress && watched == m_sharePicker && m_shareAnchor) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPoint global = press->globalPosition().toPoint();
        if (!m_sharePicker->rect().contains(m_sharePicker->mapFromGlobal(global))
            && m_shareAnchor->rect().contains(m_shareAnchor->mapFromGlobal(global)))
            m_sharePicker->setAttribute(Qt::WA_NoMouseReplay);
    }
    return QObject::eventFilter(watched, event);
}

void ShareCommands::copyPromotionalText()
{
    QApplication::clipboard()->setText(promotionalText());
}

void ShareCommands::reportingAnIssue()
{
    openMail(
        MailDrafts::issueReport(QCoreApplication::applicationVersion(), MailDrafts::currentDiagnostics()));
}

void ShareCommands::featureRequest()
{
    openMail(MailDrafts::featureRequest(QCoreApplication::applicationVersion()));
}

void ShareCommands::openMail(const MailDrafts::Draft& draft)
{
    const QUrl url = MailDrafts::mailtoUrl(draft);
    // Told at the share button that offered the mail; asked for otherwise, where the shell tells.
    if (m_shareAnchor)
        ExternalLinks::openFrom(url, m_shareAnchor);
    else
        ExternalLinks::open(url, this, m_host.showMessage);
}

void ShareCommands::infoABoutButtonHandler(QAbstractButton* sender)
{
    static_cast<void>(sender);
    if (!m_aboutSheet)
        m_aboutSheet = new AboutWindow(m_host.window ? m_host.window() : nullptr);
    AboutWindow::setHyperlinkWithTextField(m_aboutSheet->dravelHyperlink());
    m_aboutSheet->versionNumberTextCtl()->setText(QCoreApplication::applicationVersion());
    m_aboutSheet->open();
}

void ShareCommands::helpButtonHandler(QAbstractButton* sender)
{
    if (PKPopoverController::dropPopover(m_getManualPopover) || !sender)
        return;
    auto* ask = new AskManualDownload;
    m_getManualPopover = new PKPopoverController(ask, this);
    m_getManualPopover->setDefaultProperties_ItemWarning();
    // Answered, it is done with: the next press asks anew, even while this one fades out.
    connect(ask, &AskManualDownload::closeRequested, this, [this] { m_getManualPopover = nullptr; });
    m_getManualPopover->setDidCloseBlock([](PKPopoverController* popover) { popover->deleteLater(); });
    m_getManualPopover->showRelativeToRect(QRectF(sender->rect()), sender, helpPopoverEdge);
}
