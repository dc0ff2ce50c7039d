#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace files {

/// The scratch file start-up deletes and the print command reads; it lives in
/// the program's scratch folder (scratchDirectory()).
inline constexpr const char *kScratchDataName = "Vovizuzuv.dat";
/// The scratch file the clear command deletes.
inline constexpr const char *kScratchTextName = "Vovizuzuv.txt";

/// The lines of the scratch file the print command reports, as UTF-8: read
/// whole, decoded by files::decodeText (no question is asked: bytes the rule
/// cannot place are read as Shift JIS) and split by the value files' line rule
/// with empty lines kept, since an empty line is an entry of the report.
/// nullopt when it is no regular file, cannot be opened or read, is larger
/// than a value file may be (kMaxValueFileBytes; files::readBoundedBytes), or
/// its bytes are text in neither encoding.
std::optional<std::vector<std::string>> readScratchLines(const QString &path);

} // namespace files
