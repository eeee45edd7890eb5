#pragma once

#include <QList>
#include <QSizeF>
#include <QString>

/// One screen as the device information sees it.
struct DIScreen {
    QSizeF size; // points
    QSizeF pixels; // device pixels
    QSizeF physicalSizeMm; // 0 x 0 when the display does not say
    double scale = 1.0; // device pixels per point
};

/// Reads what Linux tells about the machine: files under /proc and /sys below a root
/// folder (tests point it at a fake tree), and the screens. Every reader answers a
/// neutral value (null text, 0) when its source is missing or unreadable; none throws.
class DISystemProbe {
public:
    explicit DISystemProbe(const QString& rootPath = QStringLiteral("/"));
    QString rootPath() const { return m_root; }

    /// The text of `relative` below the root, without trailing white space or NULs;
    /// null when it cannot be read.
    QString readText(const QString& relative) const;

    /// The machine's model name (firmware product name or device-tree model); null if none.
    QString model() const;
    /// The highest processor clock in Hz; 0 when unknown.
    double cpuFrequencyHz() const;
    /// Processors online; 0 when unknown.
    quint64 cpuCount() const;
    /// The level-2 data cache of the first processor in bytes; 0 when unknown.
    double l2CacheBytes() const;
    /// Installed memory in bytes; 0 when unknown.
    double physicalMemoryBytes() const;
    /// The kernel release ("6.1.0-18-amd64"); falls back to uname() for the real root.
    QString osRelease() const;
    /// The host's node name; falls back to uname() for the real root.
    QString nodeName() const;

    /// The screens of the running application, the primary one first.
    static QList<DIScreen> currentScreens();

    /// Parsers of the file formats, for the readers above.
    static quint64 parseCpuList(const QString& text); // "0-3,6" -> 5
    static double parseCacheSize(const QString& text); // "256K" -> 262144
    static double parseMemTotal(const QString& meminfo); // "MemTotal: 16 kB" -> 16384
    static double parseCpuMHz(const QString& cpuinfo); // first "cpu MHz" line, in MHz
    static quint64 countProcessors(const QString& cpuinfo);

private:
    QString m_root;
};
