#pragma once
// The framework's errors. A handler that throws does not end the program: the framework catches
// every exception around message handlers and reports it in a message box (afx/App.h).

#include <stdexcept>

// A caller passed something the framework cannot work with, e.g. no selection where one is needed.
class CInvalidArgException : public std::invalid_argument {
public:
    CInvalidArgException();
};

[[noreturn]] void AfxThrowInvalidArgException();

// The text shown for an exception that reached the framework.
const char* AfxExceptionText(const std::exception& error);
