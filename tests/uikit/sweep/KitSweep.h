#pragma once

#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// One public class of the kit as the sweep drives it: made under a host window, given every
// edge value through its public setters, painted, resized, animated and deleted.
class SweepSubject {
public:
    virtual ~SweepSubject() = default;
    /// The widget that is painted and resized (the object itself, or the window it shows in).
    virtual QWidget* view() = 0;
    /// Gives `value` to every numeric setter (sizes, positions, radii, widths, times, values).
    virtual void number(double value) = 0;
    /// Gives `text` to every text setter.
    virtual void text(const QString& text) = 0;
    /// Starts whatever animations the class has.
    virtual void animate() = 0;
};

struct SweepEntry {
    std::string name;
    std::function<std::unique_ptr<SweepSubject>(QWidget* host)> make;
};

/// Every public class of the kit that shows something or animates.
const std::vector<SweepEntry>& sweepEntries();

/// The edge values of the sweep.
const std::vector<double>& edgeNumbers();
const std::vector<QString>& edgeTexts();
const std::vector<QSize>& edgeSizes();
/// An edge number as an int (NaN as 0, the rest clamped to the int range).
int edgeInt(double value);
