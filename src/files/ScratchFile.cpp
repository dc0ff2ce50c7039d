#include "files/ScratchFile.h"

#include "files/TextCodec.h"
#include "files/ValueFileIO.h"
#include "files/ValueLines.h"

namespace files {

std::optional<std::vector<std::string>> readScratchLines(const QString &path)
{
    // No larger than a value file: whatever lies there, printing reads it whole.
    auto bytes = readBoundedBytes(path, kMaxValueFileBytes);
    if (!std::holds_alternative<std::string>(bytes))
        return std::nullopt;
    const auto decoded = decodeText(std::move(std::get<std::string>(bytes)));
    if (!std::holds_alternative<DecodedText>(decoded))
        return std::nullopt;
    return splitValueLines(std::get<DecodedText>(decoded).text);
}

} // namespace files
