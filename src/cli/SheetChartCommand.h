#pragma once

// `vorla --chart SHEET.vorla -o OUT.png|OUT.pdf`: the sheet window's charts
// of a sheet file, drawn without showing a window.

#include "cli/CommandLine.h"

#include <iosfwd>

namespace cli {

/// Reads the sheet `command.files[0]` and writes its charts to
/// `command.output`. Returns 0, or 1 after a line "vorla: NAME: reason" on
/// `errors` for a sheet that is refused or a picture that cannot be written.
int runSheetChart(const CommandLine &command, std::ostream &errors);

} // namespace cli
