#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>

class NWTrackedHyperlinkView;
class QLabel;
class QPushButton;

/// The about sheet: the application's icon and name, the version of the build and the link
/// to the maker's web page, over a Close button. A frameless, window-modal dialog centred on
/// its parent window, as a sheet is; made once and kept by its owner. Its parts carry the
/// object names "versionNumberTextCtl", "dravelHyperlink" and "closeButton".
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    NWTrackedHyperlinkView* dravelHyperlink() const { return m_dravelHyperlink; }
    QLabel* versionNumberTextCtl() const { return m_versionNumberTextCtl; }

    /// Makes `field` a selectable, not editable link to the maker's web page (the sheet's own
    /// link opens through `ExternalLinks`).
    static void setHyperlinkWithTextField(NWTrackedHyperlinkView* field);
    /// Ends the sheet with 1 for a `tag` of 1, else 0.
    void closeAboutSheet(int tag);

    /// The frame of a window of `size` centred on `parent`, moved the least that keeps it on
    /// `screen` (none: not moved).
    static QRect centredFrame(const QRect& parent, const QSize& size, const QRect& screen);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeOnParent();

    QLabel* m_versionNumberTextCtl = nullptr;
    NWTrackedHyperlinkView* m_dravelHyperlink = nullptr;
    QPushButton* m_closeButton = nullptr;
};
