// The standard panels the application opens over its windows (print, page set-up, file,
// colour, message) take the application's style and palette and read clearly in both
// appearances.

#include "platform/Appearance.h"
#include "support/Contrast.h"
#include "uikit/controls/KitStyle.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>

#include <cmath>
#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

using mervane::test::contrast;

namespace {

// As a screenshot check reads it: the region's most frequent colour is the background, the
// text is the most frequent of the colours that stand out most from it (glyph cores).
double paintedContrast(const QImage& image, const QRect& region)
{
    QHash<QRgb, int> counts;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            std::tie(background, most) = std::pair(it.key(), it.value());
    double top = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        top = std::max(top, contrast(QColor(it.key()), QColor(background)));
    QRgb text = background;
    int textCount = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (contrast(QColor(it.key()), QColor(background)) >= 1 + 0.75 * (top - 1) && it.value() > textCount)
            std::tie(text, textCount) = std::pair(it.key(), it.value());
    return contrast(QColor(text), QColor(background));
}

class StandardDialogs : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        m_savedPalette = QApplication::palette();
        m_savedStyle = QApplication::style()->name();
        QApplication::setStyle(new KitStyle);
        QApplication::setPalette(palette());
        owner = std::make_unique<QWidget>();
        owner->resize(800, 600);
    }
    void TearDown() override
    {
        owner.reset();
        QApplication::setStyle(m_savedStyle);
        QApplication::setPalette(m_savedPalette);
    }
    static bool dark() { return GetParam(); }
    static QPalette palette()
    {
        return dark() ? platform::AppearanceController::darkPalette()
                      : platform::AppearanceController::lightPalette();
    }

    std::unique_ptr<QWidget> owner;
    QPrinter printer;

private:
    QPalette m_savedPalette;
    QString m_savedStyle;
};

TEST_P(StandardDialogs, TakeTheApplicationsPaletteAndPaintTheirBackground)
{
    const std::pair<const char*, std::function<QDialog*()>> makers[] = {
        { "print", [this] { return new QPrintDialog(&printer, owner.get()); } },
        { "page set-up", [this] { return new QPageSetupDialog(&printer, owner.get()); } },
        { "file",
            [this] {
                auto* panel = new QFileDialog(owner.get(), u"Restore"_s);
                panel->setOption(QFileDialog::DontUseNativeDialog);
                return panel;
            } },
        { "colour",
            [this] {
                auto* panel = new QColorDialog(owner.get());
                panel->setOption(QColorDialog::DontUseNativeDialog);
                return panel;
            } },
        { "message",
            [this] {
                return new QMessageBox(QMessageBox::Warning, u"Mervane"_s, u"The file could not be read."_s,
                    QMessageBox::Ok, owner.get());
            } },
    };
    const QPalette expected = palette();
    for (const auto& [name, make] : makers) {
        std::unique_ptr<QDialog> dialog(make());
        dialog->ensurePolished();
        const QPalette& used = dialog->palette();
        for (const auto role : { QPalette::Window, QPalette::WindowText, QPalette::Button,
                 QPalette::ButtonText, QPalette::Base, QPalette::Text, QPalette::Light, QPalette::Dark,
                 QPalette::Mid, QPalette::Shadow, QPalette::PlaceholderText })
            EXPECT_EQ(used.color(role), expected.color(role)) << name << " role " << role;
        EXPECT_EQ(dialog->style()->name(), QApplication::style()->name()) << name;

        // Painted as shown: an opaque window background, and labels that read on it.
        const QImage image = dialog->grab().toImage();
        const QColor corner = image.pixelColor(1, 1);
        EXPECT_EQ(corner.alpha(), 255) << name;
        EXPECT_EQ(corner.rgb(), expected.color(QPalette::Window).rgb())
            << name << " " << corner.name().toStdString();
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || !label->isVisibleTo(dialog.get()) || !label->isEnabled())
                continue;
            EXPECT_GE(
                contrast(label->palette().color(label->foregroundRole()), expected.color(QPalette::Window)),
                4.5)
                << name << " label " << label->text().toStdString();
        }
    }
}

TEST_P(StandardDialogs, TheDefaultButtonReadsOnItsFace)
{
    // The print panel's Print button: the style draws a default button's face lighter and
    // tinted, and its text must read there as well as on an ordinary button.
    QDialog panel(owner.get());
    auto* layout = new QHBoxLayout(&panel);
    auto* print = new QPushButton(u"Print"_s, &panel);
    auto* cancel = new QPushButton(u"Cancel"_s, &panel);
    print->setDefault(true);
    layout->addWidget(print);
    layout->addWidget(cancel);
    panel.adjustSize();
    for (QPushButton* button : { print, cancel }) {
        // The face within the frame, as a screenshot of the panel is read: its gradient is
        // lightest at the top, where the glyphs' upper halves are.
        const QImage image = button->grab().toImage();
        const QRect face = image.rect().adjusted(4, 4, -4, -4);
        EXPECT_GE(paintedContrast(image, face), 4.5) << button->text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Appearances, StandardDialogs, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Dark" : "Light"; });

} // namespace
