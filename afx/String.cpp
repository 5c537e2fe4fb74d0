#include "afx/String.h"

#include "afx/Backend.h"

bool CString::LoadString(UINT nID) {
    m_text.clear();
    return afx::TheBackend().LoadString(nID, m_text);
}

void AfxFormatString1(CString& rString, UINT nIDS, const char* lpsz1) {
    CString format;
    format.LoadString(nIDS);
    const std::string insert = lpsz1 ? lpsz1 : "";
    std::string text;
    const std::string& pattern = format.Str();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == '1') {
            text += insert;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    rString = CString(std::move(text));
}
