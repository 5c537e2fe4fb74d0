#include "tools/probe/Json.h"

#include <cstdio>

namespace probe {
namespace {

std::string Join(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty())
            text += ", ";
        text += part;
    }
    return text;
}

}  // namespace

std::string JsonQuote(const std::string& bytes)
{
    std::string quoted = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escape[7];
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

JsonObject& JsonObject::String(const std::string& key, const std::string& value)
{
    return Raw(key, JsonQuote(value));
}

JsonObject& JsonObject::StringOrNull(const std::string& key,
                                     const std::optional<std::string>& value)
{
    return Raw(key, value ? JsonQuote(*value) : "null");
}

JsonObject& JsonObject::Bool(const std::string& key, bool value)
{
    return Raw(key, value ? "true" : "false");
}

JsonObject& JsonObject::Raw(const std::string& key, const std::string& value)
{
    m_members.push_back(JsonQuote(key) + ": " + value);
    return *this;
}

std::string JsonObject::Text() const
{
    return "{" + Join(m_members) + "}";
}

std::string JsonArray(const std::vector<std::string>& elements)
{
    return "[" + Join(elements) + "]";
}

}  // namespace probe
