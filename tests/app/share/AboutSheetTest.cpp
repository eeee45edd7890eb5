// The about sheet as the about button shows it on a window; the same cases run again at
// QT_SCALE_FACTOR=2 (the ".scale2" entries).

#include "ShareTestSupport.h"

#include "app/alerts/MessagePopover.h"
#include "app/alerts/NWTrackedHyperlinkView.h"
#include "app/share/AboutWindow.h"
#include "app/share/MakerAddresses.h"
#include "app/share/ShareCommands.h"
#include "platform/Appearance.h"
#include "support/Contrast.h"
#include "support/TextFits.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class AboutSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_palette = QApplication::palette();
        m_window = std::make_unique<QWidget>();
        // Small enough for the offscreen screen at twice the scale (400 by 400 points).
        m_window->setGeometry(4, 4, 390, 380);
        m_window->show();
        m_commands
            = std::make_unique<ShareCommands>(ShareCommands::Host { [this] { return m_window.get(); }, {} });
    }
    void TearDown() override
    {
        m_commands.reset();
        m_window.reset();
        platform::AppearanceController::instance().setAppearance(platform::Appearance::System);
        QApplication::setPalette(m_palette);
        QCoreApplication::processEvents();
    }

    AboutWindow* showSheet()
    {
        m_commands->infoABoutButtonHandler(nullptr);
        AboutWindow* sheet = m_commands->aboutSheet();
        EXPECT_TRUE(sheet && sheet->isVisible());
        QCoreApplication::processEvents();
        return sheet;
    }

    template <typename Widget> static Widget* part(const QWidget& sheet, const QString& name)
    {
        auto* widget = sheet.findChild<Widget*>(name);
        EXPECT_TRUE(widget) << "the sheet has no " << name.toStdString();
        return widget;
    }

    // The strongest contrast any pixel of `region` (in the sheet) has to its most common colour:
    // the text against its background.
    static double textContrast(const QImage& shot, qreal ratio, const QRect& region)
    {
        const QRect pixels(region.topLeft() * ratio, region.size() * ratio);
        std::map<QRgb, int> counts;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                ++counts[shot.pixel(x, y)];
        QRgb background = 0;
        int most = 0;
        for (const auto& [rgb, count] : counts) {
            if (count > most) {
                most = count;
                background = rgb;
            }
        }
        double best = 1;
        for (const auto& [rgb, count] : counts)
            best = std::max(best, contrast(QColor(rgb), QColor(background)));
        return best;
    }

    QPalette m_palette;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<ShareCommands> m_commands;
};

TEST_F(AboutSheet, ShowsTheBuildsVersionAndLinksToTheMakerWindowModally)
{
    AboutWindow* sheet = showSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->parentWidget(), m_window.get());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    ASSERT_TRUE(sheet->windowHandle());
    EXPECT_EQ(QGuiApplication::modalWindow(), sheet->windowHandle());
    EXPECT_EQ(part<QLabel>(*sheet, u"versionNumberTextCtl"_s)->text(), QStringLiteral(MERVANE_VERSION));
    EXPECT_EQ(part<QLabel>(*sheet, u"applicationName"_s)->text(), u"Mervane"_s);

    // The link shows the maker's address without its scheme and opens it.
    auto* link = part<NWTrackedHyperlinkView>(*sheet, u"dravelHyperlink"_s);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->textFormat(), Qt::RichText);
    EXPECT_TRUE(
        link->text().contains(u"href=\""_s + MakerAddresses::makerPage().toString(QUrl::FullyEncoded)));
    EXPECT_TRUE(link->text().contains(u">mervane.app<"_s)) << link->text().toStdString();
    CapturedLinks links;
    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    EXPECT_EQ(links.opened, QList<QUrl> { MakerAddresses::makerPage() });

    // No browser: the sheet says so at the link, with the address.
    links.answer = false;
    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    auto* messages = sheet->findChild<MessagePopover*>();
    ASSERT_TRUE(messages && messages->isShown());
    EXPECT_EQ(messages->popover()->positionView(), link);
    EXPECT_TRUE(messages->text().split(u'\n').contains(MakerAddresses::makerPage().toString()))
        << messages->text().toStdString();
}

TEST_F(AboutSheet, CloseEndsItAndTheSameSheetComesBackCentred)
{
    AboutWindow* sheet = showSheet();
    ASSERT_TRUE(sheet);
    const QPointer<AboutWindow> kept(sheet);
    part<QPushButton>(*sheet, u"closeButton"_s)->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), 1);
    EXPECT_FALSE(QGuiApplication::modalWindow());

    m_window->move(8, 12);
    QCoreApplication::processEvents();
    EXPECT_EQ(showSheet(), kept.data());
    const QPoint offset = sheet->frameGeometry().center() - m_window->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << ", " << offset.y();
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), 0);
}

TEST_F(AboutSheet, StaysOnTheScreenOfItsWindow)
{
    const QRect screen(0, 0, 1440, 900);
    EXPECT_EQ(AboutWindow::centredFrame(QRect(100, 100, 1000, 800), QSize(300, 200), screen),
        QRect(450, 400, 300, 200));
    // A window partly off the screen puts its sheet at the nearest place on it.
    EXPECT_EQ(AboutWindow::centredFrame(QRect(1200, -300, 600, 400), QSize(300, 200), screen),
        QRect(1140, 0, 300, 200));
    EXPECT_EQ(AboutWindow::centredFrame(QRect(1300, 800, 400, 400), QSize(300, 200), screen),
        QRect(1140, 700, 300, 200));
    EXPECT_EQ(AboutWindow::centredFrame(QRect(2000, 1000, 400, 400), QSize(300, 200), {}),
        QRect(2050, 1100, 300, 200));
}

TEST_F(AboutSheet, ReadsInLightAndDarkWithNothingCut)
{
    const auto expectReadable = [this](const char* name) {
        AboutWindow* sheet = m_commands->aboutSheet();
        ASSERT_TRUE(sheet && sheet->isVisible()) << name;
        expectEveryTextFits(*sheet, name);
        const QImage shot = sheet->grab().toImage();
        const qreal ratio = shot.devicePixelRatio();
        for (const QString& label :
            { u"applicationName"_s, u"versionCaption"_s, u"versionNumberTextCtl"_s, u"dravelHyperlink"_s }) {
            const QWidget* text = part<QLabel>(*sheet, label);
            ASSERT_TRUE(text);
            EXPECT_GE(textContrast(shot, ratio, text->geometry()), 4.5)
                << name << ": " << label.toStdString();
        }
        const auto* close = part<QPushButton>(*sheet, u"closeButton"_s);
        EXPECT_GE(close->width(), close->sizeHint().width()) << name;
        EXPECT_TRUE(sheet->rect().contains(close->geometry())) << name;
    };
    auto& appearance = platform::AppearanceController::instance();
    appearance.setAppearance(platform::Appearance::Light);
    AboutWindow* sheet = showSheet();
    ASSERT_TRUE(sheet);
    expectReadable("light");
    // Changed while the sheet is up, and shown anew in it.
    appearance.setAppearance(platform::Appearance::Dark);
    QCoreApplication::processEvents();
    expectReadable("dark, changed while shown");
    sheet->reject();
    showSheet();
    expectReadable("dark");
    appearance.setAppearance(platform::Appearance::Light);
    QCoreApplication::processEvents();
    expectReadable("light, changed while shown");
}

} // namespace
