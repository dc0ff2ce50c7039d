#pragma once

// `vorla --chart FILE -o OUT`: the chart window's picture of one file (or of
// standard input, "-"), drawn without showing any window and written as a PNG
// image or a PDF page. Unlike --stats it needs a Qt application, which the
// caller creates, on the offscreen platform when there is no display.

#include "cli/CommandLine.h"

#include <iosfwd>

namespace cli {

/// Reads `command.files[0]` as --stats reads it, gives its figures to a chart
/// window set to the command's chart type, subgroup size and tolerance, and
/// saves the window's picture to `command.output`. Problems go to `errors` as
/// "vorla: NAME: reason". Returns 0 when the picture was written; 1 when the
/// file gives no figures, the control chart asked for cannot be formed (no
/// file is written then), or the picture cannot be saved.
int runChart(const CommandLine &command, std::ostream &errors);

} // namespace cli
