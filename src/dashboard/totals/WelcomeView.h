#pragma once

#include <QWidget>

class NWTrackedHyperlinkView;
class QCheckBox;
class QToolButton;

/// The welcome panel's content: a greeting, a link to the product's web page, a check box
/// "Show this welcome at start" ("ShowStartForm") and a close control. Main thread only.
class WelcomeView : public QWidget {
    Q_OBJECT
public:
    explicit WelcomeView(QWidget* parent = nullptr);

    /// Whether the panel is to be shown: not yet considered in this run, and "ShowStartForm"
    /// absent or on.
    static bool shouldShow(bool alreadyConsidered);

    NWTrackedHyperlinkView* dravelHyperlink() const { return m_dravelHyperlink; }
    QCheckBox* showOnStartCheckBox() const { return m_showOnStart; }
    QToolButton* closeButton() const { return m_closeButton; }

Q_SIGNALS:
    /// The close control was pressed.
    void closeRequested();
    /// Nothing opened the link; `text` says so and shows the address. The panel goes as the
    /// message comes (it loses the keyboard), so the message is not the panel's own.
    void linkNotOpened(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

private:
    void showOnStartChanged(bool on);
    /// The link in a blue that reads on the window colour of the palette now shown.
    void showLink();

    NWTrackedHyperlinkView* m_dravelHyperlink = nullptr;
    QCheckBox* m_showOnStart = nullptr;
    QToolButton* m_closeButton = nullptr;
};
