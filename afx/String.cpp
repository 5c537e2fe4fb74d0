#include "afx/String.h"

#include "afx/Backend.h"

#include <initializer_list>

bool CString::LoadString(UINT nID) {
    m_text.clear();
    return afx::TheBackend().LoadString(nID, m_text);
}

namespace {

// String nIDS with each "%n", n from 1 to the number of inserts, replaced by insert n (nullptr
// counts as empty).
CString FormatString(UINT nIDS, std::initializer_list<const char*> inserts) {
    CString format;
    format.LoadString(nIDS);
    std::string text;
    const std::string& pattern = format.Str();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t n = i + 1 < pattern.size()
                                  ? static_cast<std::size_t>(pattern[i + 1] - '1')
                                  : inserts.size();
        if (pattern[i] == '%' && n < inserts.size()) {
            const char* insert = inserts.begin()[n];
            text += insert ? insert : "";
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return CString(std::move(text));
}

}  // namespace

void AfxFormatString1(CString& rString, UINT nIDS, const char* lpsz1) {
    rString = FormatString(nIDS, {lpsz1});
}

void AfxFormatString2(CString& rString, UINT nIDS, const char* lpsz1, const char* lpsz2) {
    rString = FormatString(nIDS, {lpsz1, lpsz2});
}
