#include "tools/probe/Json.h"

#include <cstdio>

namespace probe {
namespace {

std::string Join(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) text += ", ";
        text += part;
    }
    return text;
}

// Length of the well-formed UTF-8 sequence starting at bytes[i], or 0 when there is none
// (stray continuation byte, overlong form, surrogate, beyond U+10FFFF, cut off).
std::size_t Utf8SequenceLength(const std::string& bytes, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > bytes.size() || at(i + 1) < low || at(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
    }
    return length;
}

}  // namespace

// Text from the OS (port names) is UTF-8 on Linux and passes through; any other byte outside
// printable ASCII (controller data, another code page) is escaped as the code point of the same
// value, so the output is always valid JSON and nothing raw reaches a terminal.
std::string JsonQuote(const std::string& bytes) {
    std::string quoted = "\"";
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '"' || byte == '\\') {
            quoted += '\\';
            quoted += bytes[i++];
        } else if (byte >= 0x20 && byte < 0x7F) {
            quoted += bytes[i++];
        } else if (const std::size_t length = byte >= 0x80 ? Utf8SequenceLength(bytes, i) : 0) {
            quoted.append(bytes, i, length);
            i += length;
        } else {
            char escape[7];
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            quoted += escape;
            ++i;
        }
    }
    return quoted + "\"";
}

JsonObject& JsonObject::String(const std::string& key, const std::string& value) {
    return Raw(key, JsonQuote(value));
}

JsonObject& JsonObject::StringOrNull(const std::string& key,
                                     const std::optional<std::string>& value) {
    return Raw(key, value ? JsonQuote(*value) : "null");
}

JsonObject& JsonObject::Bool(const std::string& key, bool value) {
    return Raw(key, value ? "true" : "false");
}

JsonObject& JsonObject::Raw(const std::string& key, const std::string& value) {
    m_members.push_back(JsonQuote(key) + ": " + value);
    return *this;
}

std::string JsonObject::Text() const { return "{" + Join(m_members) + "}"; }

std::string JsonArray(const std::vector<std::string>& elements) {
    return "[" + Join(elements) + "]";
}

}  // namespace probe
