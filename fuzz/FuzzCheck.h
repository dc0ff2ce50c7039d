#pragma once

// What the fuzz targets share: a check that stops the run with a readable
// message (libFuzzer then saves the input as a crash file), and the test for
// text that Qt could have handed over (valid UTF-8).

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

[[noreturn]] inline void fail(const char *what, std::string_view detail)
{
    std::fprintf(stderr, "fuzz check failed: %s\n  detail: \"%.*s\"\n", what,
                 static_cast<int>(detail.size()), detail.data());
    std::abort();
}

inline void check(bool holds, const char *what, std::string_view detail = {})
{
    if (!holds)
        fail(what, detail);
}

/// Whether the bytes are well-formed UTF-8 (no overlongs, no surrogates,
/// nothing above U+10FFFF): the only text a QString::toStdString can give.
inline bool isValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t length = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + length > s.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))
            || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

/// Whether "inf" or "nan" stands anywhere in the text, in any letter case.
inline bool mentionsInfOrNan(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
}

} // namespace fuzz
