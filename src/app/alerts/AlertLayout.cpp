#include "app/alerts/AlertLayout.h"

#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace AlertLayout {
namespace {

const QString fitterName = u"AlertLayoutTextFitter"_s;

// The popover whose content `view` is, if any.
PKPopoverController* popoverOf(const QWidget* view)
{
    auto* window = qobject_cast<PKPopoverWindow*>(view->window());
    PKPopoverController* popover = window ? window->popoverController() : nullptr;
    return popover && popover->contentViewController() == view ? popover : nullptr;
}

void resizeTo(QWidget* view, const QSize& size)
{
    PKPopoverController* popover = popoverOf(view);
    if (popover && popover->contentSize() != QSizeF(size))
        popover->setContentSize(QSizeF(size)); // places and resizes the window while shown
    if (view->size() != size)
        view->resize(size);
}

// Fits its view again whenever the view's layout asks to be redone: a label's new text posts
// that request (once per turn of the event loop, however many texts change).
class TextFitter : public QObject {
public:
    TextFitter(QWidget* view, int width) : QObject(view), m_view(view), m_width(width)
    {
        setObjectName(fitterName);
        view->installEventFilter(this);
    }
    void setWidth(int width) { m_width = width; }
    void fit() const { resizeTo(m_view, fittingSize(m_view, width())); }
    // Without a width of its own it keeps the width its owner gave: in a popover, the content
    // size (the view itself has the unshown window's size until the popover first shows).
    int width() const
    {
        if (m_width > 0)
            return m_width;
        const PKPopoverController* popover = popoverOf(m_view);
        return popover ? qRound(popover->contentSize().width()) : m_view->width();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_view && event->type() == QEvent::LayoutRequest)
            fit();
        return false;
    }

private:
    QWidget* m_view;
    int m_width;
};

TextFitter* fitterOf(QWidget* view)
{
    return dynamic_cast<TextFitter*>(view->findChild<QObject*>(fitterName, Qt::FindDirectChildrenOnly));
}

} // namespace

QLabel* makeTitle(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* makeMessage(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

void arrange(QWidget* view, const QList<QLabel*>& texts, const QList<QPushButton*>& buttons)
{
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(16, 12, 16, 12);
    for (QLabel* text : texts)
        layout->addWidget(text);
    layout->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons)
        row->addWidget(button);
    if (!buttons.isEmpty()) {
        QPushButton* defaultButton = buttons.last();
        defaultButton->setDefault(true);
        // Outside a dialog a default button does not answer Return by itself.
        for (const int key : { Qt::Key_Return, Qt::Key_Enter }) {
            auto* shortcut = new QShortcut(QKeySequence(key), view);
            shortcut->setContext(Qt::WidgetWithChildrenShortcut);
            QObject::connect(shortcut, &QShortcut::activated, defaultButton, &QPushButton::click);
        }
    }
    layout->addLayout(row);
    // Callers that only resize the view afterwards get its height fitted once the layout's
    // first request comes round.
    if (!fitterOf(view))
        new TextFitter(view, 0);
}

QSize fittingSize(const QWidget* view, int width)
{
    QLayout* layout = view->layout();
    if (!layout)
        return view->size();
    const QSize minimum = layout->totalMinimumSize();
    const int fittedWidth = std::max(width, minimum.width());
    const int height = layout->hasHeightForWidth() ? layout->totalHeightForWidth(fittedWidth)
                                                   : layout->totalSizeHint().height();
    return { fittedWidth, std::max(height, minimum.height()) };
}

void fitToWidth(QWidget* view, int width)
{
    if (!view)
        return;
    TextFitter* fitter = fitterOf(view);
    if (fitter)
        fitter->setWidth(width);
    else
        fitter = new TextFitter(view, width);
    fitter->fit();
}

} // namespace AlertLayout
