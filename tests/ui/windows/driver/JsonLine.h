// One JSON object per output line, written as raw UTF-8 bytes.
#pragma once

#include <string>

namespace driver {

std::string Utf8(const std::wstring& text);

class JsonLine {
public:
    explicit JsonLine(const char* step);
    JsonLine& Add(const char* key, const std::string& utf8);
    JsonLine& Add(const char* key, const char* utf8) { return Add(key, std::string(utf8)); }
    JsonLine& Add(const char* key, long long number);
    JsonLine& AddBool(const char* key, bool value);
    // A value already written as JSON (an array, for example).
    JsonLine& AddRaw(const char* key, const std::string& json);
    // Writes the line to stdout with a bare '\n' (the C runtime's text mode would add '\r').
    void Print();

private:
    void Key(const char* key);
    std::string m_text;
};

std::string JsonString(const std::string& utf8);

}  // namespace driver
