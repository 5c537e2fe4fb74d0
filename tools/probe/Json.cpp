#include "tools/probe/Json.h"

#include "tools/probe/Probe.h"

namespace probe {

Json JsonString(const std::string& bytes) { return Printable(bytes); }

Json JsonStringOrNull(const std::optional<std::string>& bytes) {
    return bytes ? JsonString(*bytes) : Json();
}

// dump() writes no space after the separators and has no setting for it, so objects and arrays
// are joined here and the library writes the rest. Printable's output is valid UTF-8 with no
// control characters, so dump() escapes only quotes and backslashes in it.
std::string JsonText(const Json& value) {
    if (!value.is_structured()) return value.dump();
    std::string text;
    for (auto member = value.begin(); member != value.end(); ++member) {
        if (member != value.begin()) text += ", ";
        if (value.is_object()) text += Json(member.key()).dump() + ": ";
        text += JsonText(member.value());
    }
    return value.is_object() ? "{" + text + "}" : "[" + text + "]";
}

}  // namespace probe
