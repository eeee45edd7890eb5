#pragma once

#include <QString>

namespace chart {
class GraphHostingView;
}

/// The print and copy buttons of every chart screen. Never instantiated. Main thread only.
class NWPrintViewController {
public:
    NWPrintViewController() = delete;

    /// Prints the host's graph on one page through the shared printer (`PrintSession`):
    /// margins in points, the orientation set on every call, the host's print rectangle
    /// sized to the paper inside the margins, then the print panel. The graph is laid out at
    /// the print rectangle's size, not scaled. Nothing prints when the panel is cancelled or
    /// the host has no graph; nothing is reported either way. `name` names the job, and so the
    /// file the panel offers: each printout passes its own, which says what it shows.
    static void GenericPrint(chart::GraphHostingView* host, int topMargin, int bottomMargin, int leftMargin,
        int rightMargin, bool inLandscape, const QString& name);

    /// Puts a picture of the host's whole graph on the clipboard, replacing what was there.
    /// True when the clipboard then holds an image of the graph's size; false, with the
    /// clipboard untouched, when the host has no graph.
    static bool GenericChartToClipboard(chart::GraphHostingView* host);
};
