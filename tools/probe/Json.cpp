#include "tools/probe/Json.h"

#include "tools/probe/Probe.h"

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

}  // namespace

// The text is what Printable makes of the bytes, as the text output shows it; only quotes and
// backslashes need escaping then.
std::string JsonQuote(const std::string& bytes) {
    std::string quoted = "\"";
    for (const char c : Printable(bytes)) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
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
