#include "files/ValueLines.h"

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

std::vector<std::size_t> nonEmptyLineNumbers(std::string_view text)
{
    std::vector<std::size_t> numbers;
    std::size_t position = 0;
    std::size_t number = 0;
    while (const auto line = nextValueLine(text, position)) {
        ++number;
        if (!line->empty())
            numbers.push_back(number);
    }
    return numbers;
}

} // namespace files

namespace files {

std::vector<std::string> splitPastedValues(std::string_view text)
{
    std::vector<std::string> values;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n' && text[i] != '\t')
            continue;
        if (i > start)
            values.emplace_back(text.substr(start, i - start));
        start = i + 1;
    }
    return values;
}

} // namespace files
