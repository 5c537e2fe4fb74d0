#pragma once
// The application object, the thread's message processing and the framework's errors.
//
// Portable: the application object's bookkeeping, its name, its command map and the framework's
// main routine (AfxWinMain). The back end provides the program entry point (which calls
// AfxWinMain with the executable's path), the message pump, message boxes and resource loading.
// A handler that throws does not end the program: the framework catches every exception around
// message handlers and reports it in a message box.

#include <stdexcept>
#include <string>

#include "afx/MessageMap.h"
#include "afx/Types.h"

class CWnd;

class CWinThread : public CCmdTarget {
public:
    CWnd* m_pMainWnd = nullptr;

    // The program's work: a dialog-based program runs its dialog here, and ends when this
    // returns (the framework runs no message loop of its own afterwards).
    virtual bool InitInstance();

    // Takes one message from the queue (waiting for one), pre-translates it through the target
    // window's objects and dispatches it. False on the quit message, which stays for the caller's
    // loop to see.
    bool PumpMessage();
};

class CWinApp : public CWinThread {
public:
    // One global object, named by the framework's main routine.
    CWinApp();
    ~CWinApp() override;

    // Caption of the application's message boxes.
    const char* GetAppName() const { return m_appName.c_str(); }
    void SetAppName(std::string name) { m_appName = std::move(name); }

    // The shared application icon nIDResource from the module that holds it (nullptr if none).
    HICON LoadIcon(UINT nIDResource) const;

    // The framework's help command. The program ships no help, so it shows nothing.
    void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    std::string m_appName;
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();

// The framework's main routine: names the application after exePath's file name (unless it has a
// name) and calls InitInstance, reporting what it throws; 0, or -1 without an application object
// or after an exception. Constructs nothing; the one application object is a global of the
// program.
int AfxWinMain(const std::string& exePath);

// "Marlox" for "C:\dir\Marlox.exe" or "/usr/bin/marlox".
std::string AfxAppNameFromPath(const std::string& exePath);

// A caller passed something the framework cannot work with, e.g. no selection where one is needed.
class CInvalidArgException : public std::invalid_argument {
public:
    CInvalidArgException();
};
[[noreturn]] void AfxThrowInvalidArgException();

// The text shown for an exception that reached the framework.
const char* AfxExceptionText(const std::exception& error);

// Modal message box with the application's name as caption, owned by the active dialog.
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK);

// True when a message is waiting in the thread's queue; it is left there (PeekMessage with
// PM_NOREMOVE).
bool AfxPeekMessage();

int AfxGetSystemMetrics(int nIndex);

// Registers the common control classes (tooltips among them); before any window exists.
void AfxInitCommonControls();
// Dialogs here host no ActiveX controls: nothing to enable.
inline void AfxEnableControlContainer() {}
