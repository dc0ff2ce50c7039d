#pragma once

// File arguments as Qt paths. The program's arguments are bytes; Qt decodes
// file names the same way (UTF-8 on Linux) wherever they come from.

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace cli {

/// A file argument as a path, unchanged otherwise (a relative path stays relative).
QString argumentPath(const std::string &argument);

/// The window's files as the open dialog would give them: full paths, in
/// order; a relative path is taken from the current folder.
///   {"a.txt"} in /home/k/data -> {"/home/k/data/a.txt"}
QStringList absolutePaths(const std::vector<std::string> &files);

} // namespace cli
