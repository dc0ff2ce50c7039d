#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

/// The lines of the scratch file the print command reports, as UTF-8: read
/// whole, decoded as Shift JIS or UTF-8 (files::decodeText) and split by the
/// value files' line rule with empty lines kept, since an empty line is an
/// entry of the report. nullopt when the file cannot be opened or read, or its
/// bytes are text in neither encoding.
std::optional<std::vector<std::string>> readScratchLines(const QString &path);
