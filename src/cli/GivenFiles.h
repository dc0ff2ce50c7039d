#pragma once

// File arguments as Qt paths, and the bytes a file argument stands for. The
// program's arguments are bytes; Qt decodes file names the same way (UTF-8 on
// Linux) wherever they come from. On Windows main() hands them over as UTF-8
// from the wide command line.

#include "files/ValueFileIO.h"

#include <QString>
#include <QStringList>

#include <string>
#include <variant>
#include <vector>

namespace cli {

/// A file argument as a path, unchanged otherwise (a relative path stays relative).
QString argumentPath(const std::string &argument);

/// The bytes of a file argument of the batch: "-" (kStandardInput) reads
/// standard input to its end, anything else is the path of a file; both read
/// no more than `maxBytes` (files::readBoundedBytes). Empty input is no
/// failure: it is an empty file.
std::variant<std::string, files::ReadFailure> readArgumentBytes(
    const std::string &argument, qint64 maxBytes = files::kMaxValueFileBytes);

/// The window's files as the open dialog would give them: full paths, in
/// order; a relative path is taken from the current folder.
///   {"a.txt"} in /home/k/data -> {"/home/k/data/a.txt"}
QStringList absolutePaths(const std::vector<std::string> &files);

} // namespace cli
