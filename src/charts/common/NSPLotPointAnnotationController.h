#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class TBWindowButton;

/// The value popup: the content of the small popover that shows one clicked chart element,
/// an amount line in the element's colour and a caption line below it, and, for charts that
/// can open a monthly record, an info button that posts "NW_SHOW_DETAILS" for the popup's
/// month. Callers make a new popup for every click; the popover owns it. Main thread only.
///
/// The popup is 230 x 60 points, or as wide as its amount and caption need, up to its width
/// limit: beyond it a caption is elided (the whole caption in its tooltip) and an amount goes
/// on over more lines, so that no digit is lost.
class NSPLotPointAnnotationController : public QWidget {
    Q_OBJECT
public:
    explicit NSPLotPointAnnotationController(QWidget* parent = nullptr);

    /// Amount line in `color`; caption "<month> <year>" (an empty year leaves one blank at
    /// the end, as the callers without a year expect).
    void setValuesWithAmount(
        const QString& amount, const QString& year, const QString& month, const QColor& color);
    /// Amount line in `color`; remembers the month for the info button; caption is the
    /// month's abbreviated name in the process's locale and the year ("Mar 2019").
    void setValuesWithIntAmount(const QString& amount, int year, int month, const QColor& color);

    bool showInfo() const { return m_showInfo; }
    void setInfoFlag(bool showInfo);
    bool showInfoButton() const { return m_showInfoButton; }
    void setShowInfoButton(bool show);
    /// The widest the popup grows (the window it points into); never below its 230 points.
    int widthLimit() const { return m_widthLimit; }
    void setWidthLimit(int width);
    int year() const { return m_year; }
    int month() const { return m_month; }

    /// Creates the info button once, when either flag is set; called on every show.
    void addInfoButton();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void infoABoutButtonHandler();
    void setAmount(const QString& amount, const QColor& color);
    void setCaption(const QString& caption);
    // Sizes the popup and places its lines and button for the texts it shows.
    void layOut();

    bool m_showInfo = false;
    bool m_showInfoButton = false;
    int m_year = 0;
    int m_month = 0;
    int m_widthLimit = 0;
    QString m_amount;
    QString m_caption;
    QLabel* m_amountCtl = nullptr;
    QLabel* m_monthCtl = nullptr;
    QPointer<TBWindowButton> m_infoABoutButton;
};
