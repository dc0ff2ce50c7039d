#include "files/ValueFile.h"

#include "files/ValueLines.h"

namespace files {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A character starts at every byte that is no UTF-8 continuation byte.
bool startsCharacter(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

} // namespace

std::size_t characterCount(std::string_view utf8)
{
    std::size_t characters = 0;
    for (const char c : utf8)
        characters += startsCharacter(c) ? 1 : 0;
    return characters;
}

// Stops counting once past the limit, so an enormous line costs no more than
// one short scan.
bool longerThan(std::string_view utf8, std::size_t limit)
{
    if (utf8.size() <= limit)
        return false; // a character takes at least one byte
    std::size_t characters = 0;
    for (const char c : utf8) {
        if (startsCharacter(c) && ++characters > limit)
            return true;
    }
    return false;
}

std::string composeValueFile(const std::vector<std::string> &items)
{
    std::size_t size = kLineEnd.size();
    for (const std::string &item : items)
        size += item.size() + kLineEnd.size();
    std::string bytes;
    bytes.reserve(size);
    for (const std::string &item : items) {
        bytes += item;
        bytes += kLineEnd;
    }
    bytes += kLineEnd;
    return bytes;
}

ItemsToAppend itemsToAppend(std::string_view text, std::size_t room, std::size_t maxLineLength)
{
    ItemsToAppend result;
    std::size_t tooLongLine = 0;
    forEachValueLine(text, [&](std::string_view line, std::size_t number) {
        if (longerThan(line, maxLineLength)) {
            tooLongLine = number;
            return false;
        }
        if (line.empty())
            return true;
        if (result.items.size() < room) {
            result.items.emplace_back(line);
            result.lineNumbers.push_back(number);
        } else {
            ++result.leftOut;
        }
        return true;
    });
    if (tooLongLine != 0)
        return ItemsToAppend{{}, 0, tooLongLine, {}};
    return result;
}

} // namespace files
