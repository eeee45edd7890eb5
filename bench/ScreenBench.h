#pragma once

#include <QSize>

class QWidget;

/// What the screens' benchmarks share.
namespace benchscreens {

/// Runs the benchmarks of the command line on the offscreen platform (unless another is
/// set), with HOME and the settings in a temporary folder of their own, so that no save
/// reaches the user's data file.
int run(int argc, char** argv);
/// Shows `screen` at `size` and lets it build what it shows.
void showAndSettle(QWidget& screen, QSize size);
/// Posts "dataReFetched" and runs the event loop until the screens have rebuilt what is in
/// view (the row host builds the visible rows before the next paint).
void reloadAndSettle();

} // namespace benchscreens
