#include "files/ValueLines.h"

#include <algorithm>

namespace files {

std::optional<std::string_view> nextValueLine(std::string_view text, std::size_t &position)
{
    if (position >= text.size())
        return std::nullopt;
    const std::size_t start = position;
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
        position = text.size();
        return text.substr(start);
    }
    position = end + 1;
    if (text[end] == '\r' && position < text.size() && text[position] == '\n')
        ++position;
    return text.substr(start, end - start);
}

std::vector<std::string> splitValueLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t position = 0;
    while (const auto line = nextValueLine(text, position))
        lines.emplace_back(*line);
    return lines;
}

std::vector<std::string_view> nonEmptyPieces(std::string_view text, std::string_view separators)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(separators, start), text.size());
        if (end > start)
            pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

std::vector<std::size_t> nonEmptyLineNumbers(std::string_view text)
{
    std::vector<std::size_t> numbers;
    forEachValueLine(text, [&](std::string_view line, std::size_t number) {
        if (!line.empty())
            numbers.push_back(number);
        return true;
    });
    return numbers;
}

} // namespace files

namespace files {

std::vector<std::string> splitPastedValues(std::string_view text)
{
    const std::vector<std::string_view> pieces = nonEmptyPieces(text, "\r\n\t");
    return {pieces.begin(), pieces.end()};
}

} // namespace files
