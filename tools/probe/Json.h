#pragma once
// Just enough JSON for the probe's output. Strings are byte strings from the wire or the OS,
// shown as the text output shows them (Printable), so the output is always valid UTF-8 and JSON
// and a consumer reads the same text a person does.

#include <optional>
#include <string>
#include <vector>

namespace probe {

std::string JsonQuote(const std::string& bytes);

// One object, members in the order they are added.
class JsonObject {
public:
    JsonObject& String(const std::string& key, const std::string& value);
    JsonObject& StringOrNull(const std::string& key, const std::optional<std::string>& value);
    JsonObject& Bool(const std::string& key, bool value);
    // value must already be JSON (a nested object or array).
    JsonObject& Raw(const std::string& key, const std::string& value);
    std::string Text() const;

private:
    std::vector<std::string> m_members;
};

// elements must already be JSON.
std::string JsonArray(const std::vector<std::string>& elements);

}  // namespace probe
