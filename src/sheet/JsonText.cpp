#include "sheet/JsonText.h"

#include <charconv>
#include <cmath>
#include <iterator>

namespace sheet {

std::string jsonStringText(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string jsonNumberText(double value)
{
    if (!std::isfinite(value))
        return "null";
    char text[32];
    const auto [end, error] = std::to_chars(std::begin(text), std::end(text), value);
    return error == std::errc() ? std::string(text, end) : "null";
}

namespace {

void append(std::string &out, const Json &value)
{
    switch (value.type()) {
    case Json::value_t::object: {
        out += '{';
        bool first = true;
        for (const auto &[name, member] : value.items()) {
            out += first ? "" : ", ";
            first = false;
            out += jsonStringText(name);
            out += ": ";
            append(out, member);
        }
        out += '}';
        return;
    }
    case Json::value_t::array: {
        out += '[';
        bool first = true;
        for (const Json &element : value) {
            out += first ? "" : ", ";
            first = false;
            append(out, element);
        }
        out += ']';
        return;
    }
    case Json::value_t::string: out += jsonStringText(value.get_ref<const std::string &>()); return;
    case Json::value_t::boolean: out += value.get<bool>() ? "true" : "false"; return;
    case Json::value_t::number_integer: out += std::to_string(value.get<std::int64_t>()); return;
    case Json::value_t::number_unsigned: out += std::to_string(value.get<std::uint64_t>()); return;
    case Json::value_t::number_float: out += jsonNumberText(value.get<double>()); return;
    case Json::value_t::null:
    case Json::value_t::discarded:
    case Json::value_t::binary: out += "null"; return;
    }
}

} // namespace

std::string jsonLine(const Json &value)
{
    std::string out;
    append(out, value);
    return out;
}

} // namespace sheet
