#pragma once

// JSON written the way Vorla writes it: through nlohmann::ordered_json
// values (members keep the order they were added in), as one line with a
// space after each ':' and ','
//   {"type": "xrs", "values": [1, 2.5], "lower": null}
// Numbers are the shortest text that reads back as the same double
// (std::to_chars: 5.0 -> 5, 0.1 + 0.2 -> 0.30000000000000004), infinity and
// NaN are null; strings keep their UTF-8 bytes, escaping only '"', '\' and
// the control characters below U+0020.

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace sheet {

using Json = nlohmann::ordered_json;

/// A JSON string literal: a"b -> "a\"b"   tab -> "\t"   U+0001 -> "\u0001"   表 -> "表"
std::string jsonStringText(std::string_view text);

/// A double as a JSON number: 2.5 -> "2.5"   1e300 -> "1e+300"   NaN -> "null"
std::string jsonNumberText(double value);

/// The value on one line, in the form above.
std::string jsonLine(const Json &value);

} // namespace sheet
