#include "uikit/overlay/POProgressOverlay.h"

#include "uikit/SaneFont.h"
#include "uikit/ViewOwnership.h"
#include "uikit/overlay/OverlayGeometry.h"
#include "uikit/overlay/POBarProgressView.h"
#include "uikit/overlay/PORoundProgressView.h"
#include "uikit/overlay/SISpinningProgressIndicator.h"

#include "platform/Clock.h"
#include "platform/Dispatch.h"
#include "platform/SaneGeometry.h"
#include "platform/Strings.h"

#include <QFontMetricsF>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QThread>
#include <QVariantAnimation>

#include <exception>

using namespace Qt::Literals::StringLiterals;

namespace {

// The object name of the indicator the overlay makes for its mode.
const QString kIndicatorName = QStringLiteral("indicator");
constexpr int kAnimationMilliseconds = 300;

bool onMainThread(const QObject* object)
{
    return QThread::currentThread() == object->thread();
}

// Seconds as a timer interval: NaN and negative are 0, and a day is long enough for any wait.
int timerMilliseconds(double seconds)
{
    return int(platform::saneValue(seconds, 0.0, 86400.0) * 1000);
}

QFont boldFont(int pointSize)
{
    QFont font;
    font.setPointSize(pointSize);
    font.setBold(true);
    return font;
}
} // namespace

struct POProgressOverlay::Completer {
    Completion completion;
    bool delivered = false;
    void deliver(const platform::MaybeError& error)
    {
        if (delivered)
            return;
        delivered = true;
        const Completion run = std::move(completion);
        if (run)
            run(error);
    }
};

POProgressOverlay::POProgressOverlay(QWidget* view)
    : QWidget(view), m_completer(std::make_shared<Completer>())
{
    if (view) {
        resize(view->size());
        view->installEventFilter(this); // covers the view as it resizes
    }
    m_opacity = new QGraphicsOpacityEffect(this);
    m_opacity->setOpacity(0.0);
    setGraphicsEffect(m_opacity);
    const auto makeLabel = [this](const QFont& font) {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(font);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(palette);
        return label;
    };
    m_label = makeLabel(boldFont(16));
    m_detailsLabel = makeLabel(boldFont(12));
    for (QTimer* timer : { &m_graceTimer, &m_minShowTimer, &m_hideDelayTimer })
        timer->setSingleShot(true);
    connect(&m_graceTimer, &QTimer::timeout, this, [this] {
        if (m_taskInProgress)
            showUsingAnimation(m_useAnimation);
    });
    connect(&m_minShowTimer, &QTimer::timeout, this, [this] { hideUsingAnimation(m_useAnimation); });
    connect(&m_hideDelayTimer, &QTimer::timeout, this, [this] {
        if (m_delegate)
            m_delegate->hudWasHiddenAfterDelay(this);
        hide(m_useAnimation);
    });
    QWidget::hide();
}

POProgressOverlay::~POProgressOverlay()
{
    // A finished work's completion still runs when the overlay goes before its fade ended.
    if (m_workDone)
        m_completer->deliver(m_workResult);
}

POProgressOverlay* POProgressOverlay::showHUDAddedTo(QWidget* view, bool animated)
{
    auto* overlay = new POProgressOverlay(view);
    overlay->show(animated);
    return overlay;
}

QList<POProgressOverlay*> POProgressOverlay::allHUDsForView(QWidget* view)
{
    QList<POProgressOverlay*> result;
    if (!view)
        return result;
    for (QObject* child : view->children()) {
        if (auto* overlay = qobject_cast<POProgressOverlay*>(child))
            result << overlay;
    }
    return result;
}

POProgressOverlay* POProgressOverlay::HUDForView(QWidget* view)
{
    const auto all = allHUDsForView(view);
    return all.isEmpty() ? nullptr : all.last();
}

bool POProgressOverlay::hideHUDForView(QWidget* view, bool animated)
{
    POProgressOverlay* overlay = HUDForView(view);
    if (!overlay)
        return false;
    overlay->setRemoveFromSuperViewOnHide(true);
    overlay->hide(animated);
    return true;
}

int POProgressOverlay::hideAllHUDsForView(QWidget* view, bool animated)
{
    const auto all = allHUDsForView(view);
    for (POProgressOverlay* overlay : all) {
        overlay->setRemoveFromSuperViewOnHide(true);
        overlay->hide(animated);
    }
    return int(all.size());
}

qreal POProgressOverlay::alpha() const
{
    return m_opacity->opacity();
}

void POProgressOverlay::setAlpha(qreal alpha)
{
    m_opacity->setOpacity(alpha);
}

void POProgressOverlay::show(bool animated)
{
    updateIndicators();
    m_useAnimation = animated;
    if (m_graceTime > 0) {
        m_graceTimer.start(timerMilliseconds(m_graceTime));
        return;
    }
    showUsingAnimation(animated);
}

void POProgressOverlay::showUsingAnimation(bool animated)
{
    if (m_isFinished)
        return;
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    layoutSubviews();
    m_showStarted = platform::Clock::now();
    QWidget::show();
    raise();
    if (!animated) {
        setAlpha(1.0);
        return;
    }
    const qreal startScale = m_animationType == AnimationType::ZoomOut ? 1.5
        : m_animationType == AnimationType::ZoomIn                     ? 0.5
                                                                       : 1.0;
    animate(1.0, startScale, 1.0);
}

void POProgressOverlay::hide(bool animated)
{
    m_useAnimation = animated;
    m_hideDelayTimer.stop();
    if (m_minShowTime > 0 && m_showStarted.isValid()) {
        const double shown = m_showStarted.msecsTo(platform::Clock::now()) / 1000.0;
        if (shown < m_minShowTime) {
            m_minShowTimer.start(timerMilliseconds(m_minShowTime - shown));
            return;
        }
    }
    hideUsingAnimation(animated);
}

void POProgressOverlay::hide(bool animated, double delaySeconds)
{
    m_useAnimation = animated;
    m_hideDelayTimer.start(timerMilliseconds(delaySeconds));
}

void POProgressOverlay::hideUsingAnimation(bool animated)
{
    m_hideDelayTimer.stop();
    const bool wasShown = m_showStarted.isValid();
    m_showStarted = QDateTime();
    if (!animated || !wasShown) {
        setAlpha(0.0);
        done();
        return;
    }
    const qreal endScale = m_animationType == AnimationType::ZoomOut ? 0.5
        : m_animationType == AnimationType::ZoomIn                   ? 1.5
                                                                     : 1.0;
    // Fades to 0.2, not 0: done() takes the rest.
    connect(animate(0.2, 1.0, endScale), &QAbstractAnimation::finished, this, &POProgressOverlay::done);
}

QAbstractAnimation* POProgressOverlay::animate(qreal endAlpha, qreal fromScale, qreal toScale)
{
    if (m_animation)
        m_animation->stop();
    auto* animation = new QVariantAnimation(this);
    animation->setDuration(kAnimationMilliseconds);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    const qreal startAlpha = alpha();
    connect(animation, &QVariantAnimation::valueChanged, this,
        [this, startAlpha, endAlpha, fromScale, toScale](const QVariant& v) {
            const qreal t = v.toReal();
            setAlpha(startAlpha + (endAlpha - startAlpha) * t);
            m_scale = fromScale + (toScale - fromScale) * t;
            update();
        });
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

void POProgressOverlay::showAnimated(bool animated, Work work, Completion completion)
{
    m_taskInProgress = true;
    m_workDone = false;
    // Each work gets its own completion: an earlier one still pending keeps its own.
    m_completer = std::make_shared<Completer>();
    m_completer->completion = std::move(completion);
    QPointer<POProgressOverlay> self(this);
    std::shared_ptr<Completer> completer = m_completer;
    platform::runInBackground([work = std::move(work), completer, self] {
        platform::MaybeError error;
        try {
            if (work)
                error = work();
        } catch (const std::exception& e) {
            error = QString::fromLocal8Bit(e.what());
        } catch (...) {
            error = platform::Strings::tr("The operation failed.");
        }
        platform::runOnMain([completer, self, error] {
            if (self)
                self->cleanUp(error);
            else
                completer->deliver(error);
        });
    });
    show(animated);
}

void POProgressOverlay::cleanUp(const platform::MaybeError& error)
{
    m_taskInProgress = false;
    m_workDone = true;
    m_workResult = error;
    if (m_isFinished) {
        // Already dismissed by a click: only the completion was waiting for the work.
        m_completer->deliver(error);
        return;
    }
    hide(m_useAnimation);
}

void POProgressOverlay::done()
{
    if (m_animation)
        m_animation->stop();
    m_graceTimer.stop();
    m_minShowTimer.stop();
    m_isFinished = true;
    setAlpha(0.0);
    QWidget::hide();
    if (m_removeFromSuperViewOnHide)
        deleteLater();
    if (!m_taskInProgress)
        m_completer->deliver(m_workResult);
    if (!m_hiddenReported) {
        m_hiddenReported = true;
        if (m_delegate)
            m_delegate->hudWasHidden(this);
    }
}

void POProgressOverlay::mousePressEvent(QMouseEvent* event)
{
    if (m_isFinished) {
        event->ignore();
        return;
    }
    event->accept();
    if (!m_dismissible)
        return;
    hideUsingAnimation(false);
    if (m_delegate)
        m_delegate->hudWasTapped(this);
}

void POProgressOverlay::setCompletionBlock(Completion completion)
{
    if (m_completer->delivered)
        m_completer = std::make_shared<Completer>();
    m_completer->completion = std::move(completion);
}

void POProgressOverlay::updateIndicators()
{
    QWidget* next = m_indicator;
    switch (m_mode) {
    case Mode::Indeterminate:
        if (!qobject_cast<SISpinningProgressIndicator*>(m_indicator)) {
            auto* spinner = new SISpinningProgressIndicator(this);
            spinner->setObjectName(kIndicatorName);
            spinner->resize(int(m_spinsize), int(m_spinsize));
            spinner->setColor(Qt::white);
            spinner->setUsesThreadedAnimation(false);
            spinner->startAnimation();
            next = spinner;
        }
        break;
    case Mode::Determinate:
    case Mode::AnnularDeterminate: {
        auto* round = qobject_cast<PORoundProgressView*>(m_indicator);
        if (!round) {
            round = new PORoundProgressView(this);
            round->setObjectName(kIndicatorName);
            round->resize(int(m_spinsize), int(m_spinsize));
            next = round;
        }
        if (m_mode == Mode::AnnularDeterminate)
            round->setAnnular(true);
        round->setProgress(m_progress);
        break;
    }
    case Mode::DeterminateHorizontalBar: {
        auto* bar = new POBarProgressView(this);
        bar->setObjectName(kIndicatorName);
        bar->setProgress(m_progress);
        next = bar;
        break;
    }
    case Mode::CustomView:
        next = m_customView;
        break;
    case Mode::Text:
        next = nullptr;
        break;
    default:
        return;
    }
    if (next == m_indicator)
        return;
    // The indicators of the modes are the overlay's own; a custom view stays the caller's
    // choice and is only hidden.
    if (m_indicator && m_indicator != m_customView && m_indicator->parent() == this)
        delete m_indicator.data();
    else if (m_indicator)
        m_indicator->hide();
    m_indicator = next;
    if (next) {
        next->setParent(this);
        next->setAttribute(Qt::WA_TransparentForMouseEvents);
        next->show();
    }
    layoutSubviews();
}

void POProgressOverlay::layoutSubviews()
{
    if (parentWidget() && size() != parentWidget()->size())
        setGeometry(parentWidget()->rect());
    const auto textSize = [](const QLabel* label) {
        if (label->text().isEmpty())
            return QSizeF();
        return QFontMetricsF(label->font()).size(Qt::TextSingleLine, label->text());
    };
    OverlayGeometry::ProgressLayoutInput in;
    in.bounds = QSizeF(size());
    in.margin = m_margin;
    in.indicator = m_indicator ? QSizeF(m_indicator->size()) : QSizeF();
    in.label = textSize(m_label);
    in.details = textSize(m_detailsLabel);
    in.xOffset = m_xOffset;
    in.yOffset = m_yOffset;
    in.square = m_square;
    in.minSize = m_minSize;
    const auto layout = OverlayGeometry::layoutProgressOverlay(in);
    const qreal H = height();
    const auto toQt
        = [H](const QRectF& r) { return QRectF(r.x(), H - r.y() - r.height(), r.width(), r.height()); };
    if (m_indicator)
        m_indicator->setGeometry(toQt(layout.indicator).toRect());
    m_label->setGeometry(toQt(layout.label).toRect());
    m_detailsLabel->setGeometry(toQt(layout.details).toRect());
    m_box = toQt(layout.box);
    update();
}

bool POProgressOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        layoutSubviews();
    return QWidget::eventFilter(watched, event);
}

void POProgressOverlay::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutSubviews();
}

void POProgressOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_dimBackground) {
        const QPointF centre = QRectF(rect()).center();
        QRadialGradient gradient(centre, std::min(width(), height()));
        gradient.setColorAt(0, QColor(0, 0, 0, 0));
        gradient.setColorAt(1, QColor::fromRgbF(0, 0, 0, 0.75f));
        gradient.setSpread(QGradient::PadSpread);
        painter.fillRect(rect(), gradient);
    }
    QColor fill = m_color;
    if (!fill.isValid())
        fill = QColor::fromRgbF(0, 0, 0, float(m_opacityValue));
    painter.translate(m_box.center());
    painter.scale(m_scale, m_scale);
    painter.translate(-m_box.center());
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(m_box, m_cornerRadius, m_cornerRadius);
}

QString POProgressOverlay::labelText() const
{
    return m_label->text();
}

void POProgressOverlay::setLabelText(const QString& text)
{
    setTextOf(m_label, text);
}

QString POProgressOverlay::detailsLabelText() const
{
    return m_detailsLabel->text();
}

void POProgressOverlay::setDetailsLabelText(const QString& text)
{
    setTextOf(m_detailsLabel, text);
}

void POProgressOverlay::setTextOf(QLabel* label, const QString& text)
{
    // Work running on the pool may report its state through the labels.
    if (!onMainThread(this)) {
        platform::runLater(this, [this, label, text] { setTextOf(label, text); });
        return;
    }
    label->setText(text);
    layoutSubviews();
}

void POProgressOverlay::setLabelFont(const QFont& font)
{
    m_label->setFont(SaneFont::sane(font));
    layoutSubviews();
}

void POProgressOverlay::setDetailsLabelFont(const QFont& font)
{
    m_detailsLabel->setFont(SaneFont::sane(font));
    layoutSubviews();
}

void POProgressOverlay::setLabelColor(const QColor& color)
{
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, color);
    m_label->setPalette(palette);
}

void POProgressOverlay::setDetailsLabelColor(const QColor& color)
{
    QPalette palette = m_detailsLabel->palette();
    palette.setColor(QPalette::WindowText, color);
    m_detailsLabel->setPalette(palette);
}

void POProgressOverlay::setMode(Mode mode)
{
    if (mode < Mode::Indeterminate || mode > Mode::Text)
        return;
    m_mode = mode;
    updateIndicators();
}

void POProgressOverlay::setCustomView(QWidget* view)
{
    if (view == m_customView || view == this || (view && view->isAncestorOf(this)))
        return;
    QWidget* old = m_customView;
    if (old && m_indicator == old)
        m_indicator = nullptr;
    ViewOwnership::handBack(old);
    m_customView = view;
    if (view) {
        view->hide();
        view->setParent(this);
    }
    updateIndicators();
    layoutSubviews();
}

void POProgressOverlay::setProgress(qreal progress)
{
    if (!onMainThread(this)) {
        platform::runLater(this, [this, progress] { setProgress(progress); });
        return;
    }
    m_progress = OverlayGeometry::pieFraction(progress, 1.0);
    if (auto* round = qobject_cast<PORoundProgressView*>(m_indicator))
        round->setProgress(m_progress);
    else if (auto* bar = qobject_cast<POBarProgressView*>(m_indicator))
        bar->setProgress(m_progress);
}
