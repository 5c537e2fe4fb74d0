#include "JsonLine.h"

#include <windows.h>

#include <cstdio>

namespace driver {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                            size, nullptr, nullptr);
    return out;
}

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

JsonLine::JsonLine(const char* step) : m_text("{\"step\":" + JsonString(step)) {}

void JsonLine::Key(const char* key) { m_text += "," + JsonString(key) + ":"; }

JsonLine& JsonLine::Add(const char* key, const std::string& utf8) {
    Key(key);
    m_text += JsonString(utf8);
    return *this;
}

JsonLine& JsonLine::Add(const char* key, long long number) {
    Key(key);
    m_text += std::to_string(number);
    return *this;
}

JsonLine& JsonLine::AddBool(const char* key, bool value) {
    Key(key);
    m_text += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::AddRaw(const char* key, const std::string& json) {
    Key(key);
    m_text += json;
    return *this;
}

void JsonLine::Print() {
    const std::string line = m_text + "}\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
}

}  // namespace driver
