#pragma once

// `vorla --chart FILE -o OUT`: the charts of one file (or of standard input,
// "-"), painted from the core's content without any window: OUT.png is the
// chart window's picture, OUT.pdf its A4 record. Unlike --stats it needs a Qt
// application (for the fonts and the painters), which the caller creates, on
// the offscreen platform when there is no display.

#include "cli/CommandLine.h"

#include <QPageLayout>

#include <iosfwd>

namespace cli {

/// Reads `command.files[0]` as --stats reads it, works out the charts of its
/// figures for the command's chart type, subgroup size and tolerance, and
/// writes the picture (.png) or the record (.pdf) to `command.output`.
/// Problems go to `errors` as "vorla: NAME: reason". Returns 0 when the file
/// was written; 1 when the file gives no figures, the control chart asked for
/// cannot be formed (no file is written then), or the file cannot be saved.
int runChart(const CommandLine &command, std::ostream &errors);

/// The record's paper: A4 landscape, portrait with --portrait.
QPageLayout::Orientation recordOrientation(const CommandLine &command);

} // namespace cli
