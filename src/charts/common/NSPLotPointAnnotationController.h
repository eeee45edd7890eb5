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
    void setInfoFlag(bool showInfo) { m_showInfo = showInfo; }
    bool showInfoButton() const { return m_showInfoButton; }
    void setShowInfoButton(bool show) { m_showInfoButton = show; }
    int year() const { return m_year; }
    int month() const { return m_month; }

    /// Creates the info button once, when either flag is set; called on every show.
    void addInfoButton();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void infoABoutButtonHandler();
    void setAmount(const QString& amount, const QColor& color);

    bool m_showInfo = false;
    bool m_showInfoButton = false;
    int m_year = 0;
    int m_month = 0;
    QLabel* m_amountCtl = nullptr;
    QLabel* m_monthCtl = nullptr;
    QPointer<TBWindowButton> m_infoABoutButton;
};
