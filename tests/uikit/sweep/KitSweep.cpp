#include "KitSweep.h"

#include "uikit/controls/avatar/DVAvatarImageView.h"
#include "uikit/controls/bar/CommandBar.h"
#include "uikit/controls/box/RXRoundedBox.h"
#include "uikit/controls/buttons/SBSubtleButton.h"
#include "uikit/controls/buttons/SegmentedControl.h"
#include "uikit/controls/fields/NWTextField.h"
#include "uikit/controls/fields/NW_SecureTextField.h"
#include "uikit/controls/noise/NZNoiseLinearGradientView.h"
#include "uikit/controls/noise/NZNoiseRadialGradientView.h"
#include "uikit/controls/noise/NZNoiseView.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"
#include "uikit/controls/rows/NWTableRowView.h"
#include "uikit/controls/tokens/TKTokenField.h"
#include "uikit/controls/views/BVBlurredView.h"
#include "uikit/controls/views/NWColoredView.h"
#include "uikit/overlay/MOModalOverlay.h"
#include "uikit/overlay/POBarProgressView.h"
#include "uikit/overlay/POProgressOverlay.h"
#include "uikit/overlay/PORoundProgressView.h"
#include "uikit/overlay/POSpinnerProgressView.h"
#include "uikit/overlay/SASpringAnimation.h"
#include "uikit/overlay/SISpinningProgressIndicator.h"
#include "uikit/popover/APPopover.h"
#include "uikit/popover/APPopoverWindow.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"
#include "uikit/tabs/CustomizableTabView.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBClassicWindow.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBMovableByBackgroundContainerView.h"
#include "uikit/window/TBWindow.h"
#include "uikit/window/TBWindowButton.h"

#include <QLabel>

#include <climits>
#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

template <typename T> class Subject : public SweepSubject {
public:
    struct Hooks {
        std::function<QWidget*(T&)> view;
        std::function<void(T&, double)> number = [](T&, double) {};
        std::function<void(T&, const QString&)> text = [](T&, const QString&) {};
        std::function<void(T&)> animate = [](T&) {};
    };
    Subject(std::unique_ptr<T> object, Hooks hooks) : m_object(std::move(object)), m_hooks(std::move(hooks))
    {
    }
    QWidget* view() override { return m_hooks.view(*m_object); }
    void number(double value) override { m_hooks.number(*m_object, value); }
    void text(const QString& text) override { m_hooks.text(*m_object, text); }
    void animate() override { m_hooks.animate(*m_object); }

private:
    std::unique_ptr<T> m_object;
    Hooks m_hooks;
};

template <typename T>
std::unique_ptr<SweepSubject> subject(std::unique_ptr<T> object, typename Subject<T>::Hooks hooks)
{
    return std::make_unique<Subject<T>>(std::move(object), std::move(hooks));
}

// A widget class of the kit whose only public inputs are its size and what it inherits.
template <typename T> SweepEntry plainWidget(const char* name)
{
    return { name, [](QWidget* host) {
                return subject(std::make_unique<T>(host), { .view = [](T& w) -> QWidget* { return &w; } });
            } };
}

QSizeF square(double value)
{
    return QSizeF(value, value);
}

std::vector<SweepEntry> windowEntries()
{
    std::vector<SweepEntry> entries;
    entries.push_back({ "TBWindow", [](QWidget*) {
                           auto window = std::make_unique<TBWindow>();
                           window->resize(320, 200);
                           return subject(std::move(window),
                               { .view = [](TBWindow& w) -> QWidget* { return &w; },
                                   .number =
                                       [](TBWindow& w, double v) {
                                           w.setTitleBarHeight(v);
                                           w.setTrafficLightButtonsLeftMargin(v);
                                           w.layoutTrafficLights();
                                           TBGeometry::setFrame(
                                               w.standardWindowButton(TBStandardButtons::Kind::Zoom),
                                               QRectF(v, v, v, v), w.titleBarView());
                                           w.setTitleBarHeight(40);
                                       },
                                   .text = [](TBWindow& w, const QString& t) { w.setWindowTitle(t); } });
                       } });
    for (const bool modern : { true, false }) {
        entries.push_back(
            { modern ? "TBAppWindowDefensive" : "TBAppWindowClassic", [modern](QWidget* host) {
                 auto window = TBAppWindow::create(modern, host);
                 window->widget()->resize(320, 200);
                 return subject(std::move(window),
                     { .view = [](TBAppWindow& w) { return w.widget(); },
                         .number =
                             [](TBAppWindow& w, double v) {
                                 w.setTitleBarHeight(v);
                                 w.setFullScreenButtonRightMargin(v);
                                 if (auto* classic = dynamic_cast<TBClassicWindow*>(&w)) {
                                     classic->setBottomBarHeight(v);
                                     classic->setTrafficLightButtonsLeftMargin(v);
                                     classic->setTrafficLightButtonsTopMargin(v);
                                     classic->setFullScreenButtonTopMargin(v);
                                     classic->setTrafficLightSeparation(v);
                                     classic->setMouseDragDetectionThreshold(v);
                                     classic->setVerticalTrafficLightButtons(v > 0);
                                     QFont font;
                                     font.setPointSizeF(std::isfinite(v) && v > 0 ? v : 12);
                                     classic->setTitleFont(font);
                                     classic->setShowsTitle(true);
                                 }
                                 w.setTitleBarHeight(40);
                             },
                         .text = [](TBAppWindow& w, const QString& t) { w.widget()->setWindowTitle(t); } });
             } });
    }
    entries.push_back({ "TBWindowButton", [](QWidget* host) {
                           auto button = std::make_unique<TBWindowButton>(QSizeF(23, 23), u"sweep"_s, host);
                           return subject(std::move(button),
                               { .view = [](TBWindowButton& b) -> QWidget* { return &b; },
                                   .number =
                                       [](TBWindowButton& b, double v) {
                                           std::unique_ptr<TBWindowButton> sized(
                                               TBWindowButton::windowButtonWithSize(v, v, u"sweep"_s, &b));
                                           b.setAutoresizingMask(TBGeometry::Autoresizing::WidthSizable);
                                       },
                                   .text = [](TBWindowButton& b, const QString& t) { b.setToolTip(t); } });
                       } });
    entries.push_back({ "TBMovableByBackgroundContainerView", [](QWidget* host) {
                           return subject(std::make_unique<TBMovableByBackgroundContainerView>(host),
                               { .view = [](TBMovableByBackgroundContainerView& v) -> QWidget* { return &v; },
                                   .number = [](TBMovableByBackgroundContainerView& c,
                                                 double v) { c.setMouseDragDetectionThreshold(v); } });
                       } });
    return entries;
}

std::vector<SweepEntry> popoverEntries()
{
    std::vector<SweepEntry> entries;
    entries.push_back({ "PKPopoverController", [](QWidget* host) {
                           auto content = new QLabel(u"content"_s);
                           auto controller = std::make_unique<PKPopoverController>(content);
                           controller->setAnimationType(PKPopoverController::AnimationType::FadeInOut);
                           return subject(std::move(controller),
                               { .view = [](PKPopoverController& c) -> QWidget* { return c.popoverWindow(); },
                                   .number =
                                       [host](PKPopoverController& c, double v) {
                                           c.setContentSize(square(v));
                                           c.setBorderWidth(v);
                                           c.setCornerRadius(v);
                                           c.setArrowSize(square(v));
                                           c.setAnimationType(PKPopoverController::AnimationType(edgeInt(v)));
                                           // Shown at once with that geometry, anchored at the value too.
                                           c.setAnimates(false);
                                           c.presentPopoverFromRect(QRectF(v, v, v, v), host,
                                               PKPopoverGeometry::ArrowDirection(edgeInt(v)), true);
                                           c.forceClosePopover();
                                           c.setAnimates(true);
                                           c.setAnimationType(PKPopoverController::AnimationType::FadeInOut);
                                       },
                                   .text =
                                       [](PKPopoverController& c, const QString& t) {
                                           if (auto* label = qobject_cast<QLabel*>(c.contentViewController()))
                                               label->setText(t);
                                       },
                                   .animate =
                                       [host](PKPopoverController& c) {
                                           c.setContentSize(QSizeF(120, 60));
                                           c.presentPopoverFromRect(QRectF(10, 10, 20, 20), host,
                                               PKPopoverGeometry::ArrowDirection(99), true);
                                       } });
                       } });
    entries.push_back({ "APPopover", [](QWidget* host) {
                           auto popover = std::make_unique<APPopover>(new QLabel(u"content"_s));
                           return subject(std::move(popover),
                               { .view = [](APPopover& p) -> QWidget* { return p.popoverWindow(); },
                                   .number =
                                       [host](APPopover& p, double v) {
                                           p.setAnimates(false);
                                           p.displayPopoverInWindow(host, QPointF(v, v), true);
                                           p.setDistance(v);
                                           p.setBorderWidth(v);
                                           p.setCornerRadius(v);
                                           p.setArrowWidth(v);
                                           p.setArrowHeight(v);
                                           p.setViewMargin(v);
                                           p.popoverWindow()->setContentSize(square(v));
                                           p.setPosition(APPopoverGeometry::Position(edgeInt(v)));
                                           p.closePopover();
                                           p.setAnimates(true);
                                       },
                                   .animate =
                                       [host](APPopover& p) {
                                           p.popoverWindow()->setContentSize(QSizeF(120, 60));
                                           p.displayPopoverInWindow(host, QPointF(40, 40), true);
                                       } });
                       } });
    return entries;
}

std::vector<SweepEntry> overlayEntries()
{
    std::vector<SweepEntry> entries;
    entries.push_back({ "POProgressOverlay", [](QWidget* host) {
                           return subject(std::make_unique<POProgressOverlay>(host),
                               { .view = [](POProgressOverlay& o) -> QWidget* { return &o; },
                                   .number =
                                       [](POProgressOverlay& o, double v) {
                                           o.setOpacity(v);
                                           o.setXOffset(v);
                                           o.setYOffset(v);
                                           o.setMargin(v);
                                           o.setCornerRadius(v);
                                           o.setSpinsize(v);
                                           o.setMinSize(square(v));
                                           o.setProgress(v);
                                           QFont font;
                                           font.setPointSizeF(std::isfinite(v) && v > 0 ? v : 12);
                                           o.setLabelFont(font);
                                           o.setDetailsLabelFont(font);
                                           o.setMode(POProgressOverlay::Mode(edgeInt(v)));
                                           o.setAnimationType(POProgressOverlay::AnimationType(edgeInt(v)));
                                           for (int mode = 0; mode <= 5; ++mode)
                                               o.setMode(POProgressOverlay::Mode(mode));
                                       },
                                   .text =
                                       [](POProgressOverlay& o, const QString& t) {
                                           o.setLabelText(t);
                                           o.setDetailsLabelText(t);
                                       },
                                   .animate =
                                       [](POProgressOverlay& o) {
                                           o.setAnimationType(POProgressOverlay::AnimationType::ZoomIn);
                                           o.setMode(POProgressOverlay::Mode::Indeterminate);
                                           o.showAnimated(true, [] { return platform::MaybeError(); });
                                       } });
                       } });
    entries.push_back({ "MOModalOverlay", [](QWidget* host) {
                           auto overlay = std::make_unique<MOModalOverlay>();
                           overlay->setContentViewController(new QLabel(u"panel"_s));
                           return subject(std::move(overlay),
                               { .view = [host](MOModalOverlay&) { return host; },
                                   .text =
                                       [](MOModalOverlay& o, const QString& t) {
                                           if (auto* label = qobject_cast<QLabel*>(o.contentViewController()))
                                               label->setText(t);
                                       },
                                   .animate =
                                       [host](MOModalOverlay& o) {
                                           o.setAnimates(true);
                                           o.showInWindow(host);
                                       } });
                       } });
    entries.push_back({ "SISpinningProgressIndicator", [](QWidget* host) {
                           return subject(std::make_unique<SISpinningProgressIndicator>(host),
                               { .view = [](SISpinningProgressIndicator& s) -> QWidget* { return &s; },
                                   .number =
                                       [](SISpinningProgressIndicator& s, double v) {
                                           s.setMaxValue(v);
                                           s.setDoubleValue(v);
                                           s.setIndeterminate(true);
                                       },
                                   .animate = [](SISpinningProgressIndicator& s) { s.startAnimation(); } });
                       } });
    entries.push_back({ "PORoundProgressView", [](QWidget* host) {
                           return subject(std::make_unique<PORoundProgressView>(host),
                               { .view = [](PORoundProgressView& p) -> QWidget* { return &p; },
                                   .number = [](PORoundProgressView& p, double v) { p.setProgress(v); } });
                       } });
    entries.push_back({ "POBarProgressView", [](QWidget* host) {
                           return subject(std::make_unique<POBarProgressView>(host),
                               { .view = [](POBarProgressView& p) -> QWidget* { return &p; },
                                   .number = [](POBarProgressView& p, double v) { p.setProgress(v); } });
                       } });
    entries.push_back(plainWidget<POSpinnerProgressView>("POSpinnerProgressView"));
    entries.push_back({ "SASpringAnimation", [](QWidget* host) {
                           auto target = new QWidget(host);
                           auto animation = std::make_unique<SASpringAnimation>();
                           animation->setTargetObject(target);
                           animation->setKeyPath("pos");
                           return subject(std::move(animation),
                               { .view = [target](SASpringAnimation&) { return target; },
                                   .number =
                                       [](SASpringAnimation& a, double v) {
                                           a.setMaxDuration(v);
                                           a.setDuration(v);
                                           a.setStiffness(v);
                                           a.setDamping(v);
                                           a.setMass(v);
                                           a.setFromValue(QPointF(v, v));
                                           a.setToValue(QPointF(0, 0));
                                           a.calculateInterpolatedValues();
                                       },
                                   .animate =
                                       [](SASpringAnimation& a) {
                                           a.setMaxDuration(1);
                                           a.setStiffness(300);
                                           a.setDamping(10);
                                           a.setMass(1);
                                           a.setFromValue(QPointF(0, 0));
                                           a.setToValue(QPointF(40, 40));
                                           a.setDuration(0.5);
                                           a.calculateInterpolatedValues();
                                           a.start();
                                       } });
                       } });
    return entries;
}

std::vector<SweepEntry> controlEntries()
{
    std::vector<SweepEntry> entries;
    entries.push_back({ "BVBlurredView", [](QWidget* host) {
                           new QLabel(u"behind"_s, host);
                           return subject(std::make_unique<BVBlurredView>(host),
                               { .view = [](BVBlurredView& b) -> QWidget* { return &b; },
                                   .number =
                                       [](BVBlurredView& b, double v) {
                                           b.setBlurRadius(float(v));
                                           b.setSaturationFactor(float(v));
                                       } });
                       } });
    entries.push_back(
        { "DVAvatarImageView", [](QWidget* host) {
             return subject(std::make_unique<DVAvatarImageView>(host),
                 { .view = [](DVAvatarImageView& a) -> QWidget* { return &a; },
                     .number = [](DVAvatarImageView& a, double v) { a.setBorderWidth(float(v)); },
                     .text = [](DVAvatarImageView& a, const QString& t) { a.setToolTip(t); } });
         } });
    entries.push_back({ "RXRoundedBox", [](QWidget* host) {
                           return subject(std::make_unique<RXRoundedBox>(host),
                               { .view = [](RXRoundedBox& b) -> QWidget* { return &b; },
                                   .number =
                                       [](RXRoundedBox& b, double v) {
                                           b.setBorderWidth(v);
                                           b.setBorderRadius(v);
                                           b.setNoiseOpacity(v);
                                       },
                                   .text = [](RXRoundedBox& b, const QString& t) { b.setTitle(t); } });
                       } });
    entries.push_back({ "NZNoiseView", [](QWidget* host) {
                           return subject(std::make_unique<NZNoiseView>(host),
                               { .view = [](NZNoiseView& n) -> QWidget* { return &n; },
                                   .number = [](NZNoiseView& n, double v) { n.setNoiseOpacity(v); } });
                       } });
    entries.push_back(plainWidget<NZNoiseLinearGradientView>("NZNoiseLinearGradientView"));
    entries.push_back(plainWidget<NZNoiseRadialGradientView>("NZNoiseRadialGradientView"));
    entries.push_back(plainWidget<CommandBar>("CommandBar"));
    entries.push_back({ "SBSubtleButton", [](QWidget* host) {
                           return subject(std::make_unique<SBSubtleButton>(host),
                               { .view = [](SBSubtleButton& b) -> QWidget* { return &b; },
                                   .number =
                                       [](SBSubtleButton& b, double v) {
                                           QFont font;
                                           font.setPointSizeF(std::isfinite(v) && v > 0 ? v : 12);
                                           b.setFont(font);
                                       },
                                   .text = [](SBSubtleButton& b, const QString& t) { b.setTitle(t); } });
                       } });
    entries.push_back({ "SegmentedControl", [](QWidget* host) {
                           return subject(
                               std::make_unique<SegmentedControl>(QStringList { u"A"_s, u"B"_s }, host),
                               { .view = [](SegmentedControl& s) -> QWidget* { return &s; },
                                   .number =
                                       [](SegmentedControl& s, double v) {
                                           s.setSegmentCount(edgeInt(v));
                                           s.setSelectedSegment(edgeInt(v));
                                           s.setLabel(u"x"_s, edgeInt(v));
                                           s.setSegmentCount(2);
                                       },
                                   .text = [](SegmentedControl& s, const QString& t) { s.setLabel(t, 0); } });
                       } });
    entries.push_back({ "NWTextField", [](QWidget* host) {
                           return subject(std::make_unique<NWTextField>(host),
                               { .view = [](NWTextField& f) -> QWidget* { return &f; },
                                   .text = [](NWTextField& f, const QString& t) { f.setText(t); } });
                       } });
    entries.push_back({ "NW_SecureTextField", [](QWidget* host) {
                           return subject(std::make_unique<NW_SecureTextField>(host),
                               { .view = [](NW_SecureTextField& f) -> QWidget* { return &f; },
                                   .text = [](NW_SecureTextField& f, const QString& t) { f.setText(t); } });
                       } });
    entries.push_back({ "TKTokenField", [](QWidget* host) {
                           return subject(std::make_unique<TKTokenField>(host),
                               { .view = [](TKTokenField& f) -> QWidget* { return &f; },
                                   .text =
                                       [](TKTokenField& f, const QString& t) {
                                           f.setObjectValue(QStringList { t, t });
                                       } });
                       } });
    entries.push_back({ "DVGenericTableRowView", [](QWidget* host) {
                           return subject(std::make_unique<DVGenericTableRowView>(host),
                               { .view = [](DVGenericTableRowView& r) -> QWidget* { return &r; },
                                   .number =
                                       [](DVGenericTableRowView& r, double v) {
                                           r.setSelectionBorderWidth(float(v));
                                           r.setSelectionBorderRadius(float(v));
                                           r.setSelectionBorderAlpha(float(v));
                                           r.setSelected(true);
                                           r.setMouseInside(true);
                                       } });
                       } });
    entries.push_back(plainWidget<NWTableRowView>("NWTableRowView"));
    entries.push_back(
        { "NWColoredView", [](QWidget* host) {
             return subject(std::make_unique<NWColoredView>(host),
                 { .view = [](NWColoredView& c) -> QWidget* { return &c; },
                     .text = [](NWColoredView& c, const QString& t) { c.setBackgroundImageName(t); } });
         } });
    entries.push_back({ "CustomizableTabView", [](QWidget* host) {
                           auto tabs = std::make_unique<CustomizableTabView>(host);
                           tabs->addTabViewItem(u"one"_s, u"One"_s, new QLabel(u"1"_s));
                           tabs->addTabViewItem(u"two"_s, u"Two"_s);
                           return subject(std::move(tabs),
                               { .view = [](CustomizableTabView& t) -> QWidget* { return &t; },
                                   .number =
                                       [](CustomizableTabView& t, double v) {
                                           t.selectTabViewItemAtIndex(edgeInt(v));
                                           t.removeTabViewItem(edgeInt(v));
                                       },
                                   .text =
                                       [](CustomizableTabView& t, const QString& s) {
                                           t.addTabViewItem(s, s);
                                           t.selectTabViewItemWithIdentifier(s);
                                       } });
                       } });
    return entries;
}

} // namespace

const std::vector<SweepEntry>& sweepEntries()
{
    static const std::vector<SweepEntry> entries = [] {
        std::vector<SweepEntry> all;
        for (auto part : { windowEntries(), popoverEntries(), overlayEntries(), controlEntries() })
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }();
    return entries;
}

const std::vector<double>& edgeNumbers()
{
    static const std::vector<double> numbers { std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 0.0, -1.0, 1e9,
        -1e9, double(INT_MAX), double(INT_MIN), 1e-300, 40.0 };
    return numbers;
}

const std::vector<QString>& edgeTexts()
{
    static const std::vector<QString> texts { QString(), u""_s, QString(10000, u'W'),
        QString(5000, u'\u0645') + QString(5000, u'\n') };
    return texts;
}

const std::vector<QSize>& edgeSizes()
{
    static const std::vector<QSize> sizes { { 0, 0 }, { 1, 1 }, { 100000, 100000 }, { 100000, 1 },
        { 1, 100000 }, { 320, 200 } };
    return sizes;
}

int edgeInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    return int(value);
}
