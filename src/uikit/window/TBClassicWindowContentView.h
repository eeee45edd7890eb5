#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class TBClassicWindow;

/// Keeps a classic window's plain content view at the frame the window computes:
/// any move or resize of the view is turned back into that frame.
class TBClassicWindowContentView : public QObject {
    Q_OBJECT
public:
    TBClassicWindowContentView(TBClassicWindow* window, QWidget* view);
    ~TBClassicWindowContentView() override;
    QWidget* view() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TBClassicWindow* m_window;
    QPointer<QWidget> m_view;
    bool m_correcting = false;
};
