#include "afx/App.h"

#include "afx/Backend.h"
#include "afx/Wnd.h"

namespace {
// Constant-initialised, so it is null before any global constructor runs.
CWinApp* g_app = nullptr;
}  // namespace

bool CWinThread::InitInstance() { return true; }
bool CWinThread::PumpMessage() { return afx::TheBackend().PumpMessage(); }

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

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
    try {
        app->InitInstance();
        return 0;
    } catch (const std::exception& error) {
        AfxMessageBox(AfxExceptionText(error), MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
}

int AfxMessageBox(const char* lpszText, UINT nType) {
    CWnd* mainWnd = AfxGetMainWnd();
    HWND owner = mainWnd ? mainWnd->m_hWnd : nullptr;
    const char* caption = g_app ? g_app->GetAppName() : "";
    return afx::TheBackend().MessageBox(owner, lpszText ? lpszText : "", caption, nType);
}

bool AfxPeekMessage() { return afx::TheBackend().PeekMessage(); }
int AfxGetSystemMetrics(int nIndex) { return afx::TheBackend().GetSystemMetrics(nIndex); }
void AfxInitCommonControls() { afx::TheBackend().InitCommonControls(); }

CInvalidArgException::CInvalidArgException()
    : std::invalid_argument("An invalid argument was encountered.") {}

void AfxThrowInvalidArgException() { throw CInvalidArgException(); }

const char* AfxExceptionText(const std::exception& error) {
    const char* text = error.what();
    return (text && *text) ? text : "An unexpected error occurred.";
}
