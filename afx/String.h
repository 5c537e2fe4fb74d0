#pragma once
// Narrow strings in the system's code page, and the string table.
//
// Portable; the text of a string resource comes from the back end (afx/Backend.h).

#include <string>

#include "afx/Types.h"

class CString {
public:
    CString() = default;
    CString(const char* text)
        : m_text(text ? text : "") {}                       // NOLINT: implicit like the framework's
    CString(std::string text) : m_text(std::move(text)) {}  // NOLINT

    // The string with this id in the user's language; false (and empty) when there is none.
    bool LoadString(UINT nID);

    bool IsEmpty() const { return m_text.empty(); }
    operator const char*() const { return m_text.c_str(); }  // NOLINT
    const std::string& Str() const { return m_text; }

    bool operator==(const CString& other) const { return m_text == other.m_text; }
    bool operator!=(const CString& other) const { return m_text != other.m_text; }

private:
    std::string m_text;
};

// Loads string nIDS and replaces each "%1" with lpsz1 (nullptr counts as empty).
void AfxFormatString1(CString& rString, UINT nIDS, const char* lpsz1);
// The same with "%2" replaced by lpsz2.
void AfxFormatString2(CString& rString, UINT nIDS, const char* lpsz1, const char* lpsz2);
