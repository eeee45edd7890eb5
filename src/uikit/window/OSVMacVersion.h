#pragma once

#include "uikit/window/DISystemProbe.h"

#include <QList>
#include <QSizeF>
#include <QString>
#include <QVariantMap>

/// Classifies the machine: its model kind, screen size in inches and whether the screen
/// is high-density. Class operations only; the answers for the running machine are
/// worked out once per process.
class OSVMacVersion {
public:
    static inline const QString kDeviceNameKey = QStringLiteral("OSVMacDeviceName");
    static inline const QString kVersionEnumKey = QStringLiteral("OSVMacVersionEnum");
    static inline const QString kResolutionKey = QStringLiteral("OSVMacResolution");
    static inline const QString kReleaseSizeKey = QStringLiteral("OSVMacReleaseSize");

    /// The machine's model name; null when it does not tell.
    static QString currentModel();
    /// The four answers for the running machine, worked out for the model of the first
    /// request; later requests get the same answers whatever model they name.
    static QVariantMap deviceInformationForModel(const QString& model);
    static qint64 deviceVersion();
    static QString deviceVersionString();
    static qint64 deviceSize();
    static qint64 deviceScreenResolution();
    static qint64 deviceSizeInInches();
    /// "13 inch" and so on; null for a size not in the table.
    static QString deviceSizeName(qint64 size);
    /// "Retina screen", "Non-retina screen", "Unknown resolution"; null otherwise.
    static QString deviceScreenResolutionName(qint64 resolution);
    /// The main screen's size, doubled in both directions on a high-density screen.
    static QSizeF deviceScreenResolutionPixelSize();

    /// The system's minor version number compared with `version` as numbers.
    static bool versionEqualTo(const QString& version);
    static bool versionGreaterThan(const QString& version);
    static bool versionGreaterThanOrEqualTo(const QString& version);
    static bool versionLessThan(const QString& version);
    static bool versionLessThanOrEqualTo(const QString& version);

    /// The rules behind the answers, on given inputs.
    static std::pair<QString, qint64> classifyModel(const QString& model);
    /// 1 when the largest scale is exactly 2, 2 when it is 1 (or there are no screens), else 0.
    static qint64 resolutionClass(const QList<double>& scales);
    /// The diagonal of a display of `millimetres` in whole inches when it is a size of
    /// the table, else 0.
    static qint64 sizeInInches(const QSizeF& millimetres);
    /// -1, 0 or 1: `left` against `right`, runs of digits compared by value.
    static int compareNumerically(const QString& left, const QString& right);
    static QVariantMap informationFor(const QString& model, const QList<DIScreen>& screens);
};
