#pragma once

#include <cstddef>
#include <string_view>

// The byte structure of Shift JIS, the same for every converter behind
// TextCodec.h.
namespace files {

inline bool isShiftJisLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

/// Whether the bytes end in a lead byte without its second byte. Converters
/// drop such a byte at the very end instead of reporting it, so the last
/// line's structure is walked here; earlier lines cannot end inside a
/// character, as CR and LF are never the second byte of one.
inline bool endsInsideShiftJisCharacter(std::string_view bytes)
{
    const std::size_t lastLineEnd = bytes.find_last_of("\r\n");
    std::size_t i = lastLineEnd == std::string_view::npos ? 0 : lastLineEnd + 1;
    while (i < bytes.size())
        i += isShiftJisLead(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    return i > bytes.size();
}

} // namespace files
