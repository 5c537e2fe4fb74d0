#include "afx/App.h"

#include "afx/Backend.h"
#include "afx/Exception.h"
#include "afx/String.h"
#include "afx/Wnd.h"

namespace {
// Constant-initialised, so it is null before any global constructor runs.
CWinApp* g_app = nullptr;
}  // namespace

bool CWinThread::InitInstance() { return true; }

int CWinThread::Run() {
    afx::TheBackend().RunMessageLoop();
    return ExitInstance();
}

int CWinThread::ExitInstance() { return 0; }

bool CWinThread::PumpMessage() { return afx::TheBackend().PumpMessage(); }

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* lpszAppName) : m_appName(lpszAppName ? lpszAppName : "") {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

bool CWinApp::InitInstance() { return CWinThread::InitInstance(); }

HICON CWinApp::LoadIcon(UINT nIDResource) const { return afx::TheBackend().LoadIcon(nIDResource); }

void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() { return g_app; }
CWinThread* AfxGetThread() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

std::string AfxAppNameFromPath(const std::string& exePath) {
    const std::size_t slash = exePath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

int AfxWinMain(const std::string& exePath) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return -1;
    if (*app->GetAppName() == '\0') app->SetAppName(AfxAppNameFromPath(exePath));
    int exitCode = -1;
    try {
        exitCode = app->InitInstance() ? app->Run() : app->ExitInstance();
    } catch (const std::exception& error) {
        AfxMessageBox(AfxExceptionText(error), MB_OK | MB_ICONEXCLAMATION);
    }
    return exitCode;
}

int AfxMessageBox(const char* lpszText, UINT nType, UINT) {
    CWnd* mainWnd = AfxGetMainWnd();
    HWND owner = mainWnd ? mainWnd->m_hWnd : nullptr;
    const char* caption = g_app ? g_app->GetAppName() : "";
    return afx::TheBackend().MessageBox(owner, lpszText ? lpszText : "", caption, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text.GetString(), nType, nIDHelp);
}

bool AfxPeekMessage() { return afx::TheBackend().PeekMessage(); }
int AfxGetSystemMetrics(int nIndex) { return afx::TheBackend().GetSystemMetrics(nIndex); }
void AfxInitCommonControls() { afx::TheBackend().InitCommonControls(); }
