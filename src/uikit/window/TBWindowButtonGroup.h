#pragma once

#include <QObject>
#include <QString>

/// Posted on the default notification centre, with the group as object, whenever a
/// group's capture count changes.
inline constexpr const char* kTBWindowButtonGroupDidUpdateRolloverStateNotification
    = "TBWindowButtonGroupDidUpdateRolloverStateNotification";

/// A named set of window buttons that show their rollover images together while the
/// mouse is over any one of them. Groups are registered by identifier and live for the
/// whole process. Main thread only.
class TBWindowButtonGroup : public QObject {
    Q_OBJECT
public:
    /// The identifier that a null identifier stands for.
    static QString defaultIdentifier();

    /// The registered group for `identifier` (null: the default group), created on
    /// first request. The registry owns it; it is never destroyed before the process ends.
    static TBWindowButtonGroup* groupWithIdentifier(const QString& identifier);

    QString identifier() const { return m_identifier; }
    qint64 numberOfCaptures() const { return m_numberOfCaptures; }

    /// Ignores negative counts and the current count; otherwise stores `count` and
    /// posts the rollover notification.
    void setNumberOfCaptures(qint64 count);
    void didCaptureMousePointer();
    void didReleaseMousePointer();
    void resetMouseCaptures();
    bool shouldDisplayRollOver() const { return m_numberOfCaptures > 0; }

private:
    explicit TBWindowButtonGroup(const QString& identifier);

    QString m_identifier;
    qint64 m_numberOfCaptures = 0;
};
