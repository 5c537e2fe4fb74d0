#include "afx/Exception.h"

CInvalidArgException::CInvalidArgException()
    : std::invalid_argument("An invalid argument was encountered.") {}

void AfxThrowInvalidArgException() { throw CInvalidArgException(); }

const char* AfxExceptionText(const std::exception& error) {
    const char* text = error.what();
    return (text && *text) ? text : "An unexpected error occurred.";
}
