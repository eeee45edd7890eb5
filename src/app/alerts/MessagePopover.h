#pragma once

#include "app/alerts/SimpleAlertViewController.h"
#include "uikit/popover/PKPopoverController.h"

#include <QObject>
#include <QPointer>
#include <QString>

/// The shell's reusable one-message popover: made on first use, anchored below a button.
/// A message shown while the popover is open replaces the text in place, so no message is
/// lost behind another. The popover is sized to the whole text (wrapped at a fixed width,
/// scrolling past a maximum height); callers that shorten their texts do so before calling.
/// Main thread only.
class MessagePopover : public QObject {
    Q_OBJECT
public:
    /// Title of the popover's window, so that tools and tests can find it.
    static const QString windowTitle;

    explicit MessagePopover(QObject* parent = nullptr);
    ~MessagePopover() override;

    /// Shows `text` below `anchor` (or replaces the text of the open popover). It closes on
    /// Escape and on a click in the anchor's window; a sticky message does not close by
    /// itself when the application goes to the background or another window takes the
    /// keyboard. The panel hangs below the anchor, or stands above it with `edge` MinY.
    void showMessage(const QString& text, QWidget* anchor, bool sticky = false,
        platform::RectEdge edge = platform::RectEdge::MaxY);
    void close();

    bool isShown() const;
    /// The text shown (or last shown).
    QString text() const;
    /// Null until the first message.
    PKPopoverController* popover() const { return m_popover; }

private:
    void setText(const QString& text);

    QPointer<PKPopoverController> m_popover;
    QPointer<SimpleAlertViewController> m_content;
};
