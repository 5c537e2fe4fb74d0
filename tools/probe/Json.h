#pragma once
// The probe's JSON output, built with nlohmann-json. Strings are byte strings from the wire or the
// OS, shown as the text output shows them (Printable), so the output is always valid UTF-8 and
// JSON and a consumer reads the same text a person does.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace probe {

// Members stay in the order they are added.
using Json = nlohmann::ordered_json;

// The bytes as Printable shows them.
Json JsonString(const std::string& bytes);
// nullopt as null.
Json JsonStringOrNull(const std::optional<std::string>& bytes);

// One line, a space after each comma and colon: {"port": "COM3", "detail": [1, null]}.
std::string JsonText(const Json& value);

}  // namespace probe
