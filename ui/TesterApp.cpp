#include "ui/TesterApp.h"

#include "ui/TesterDlg.h"

BEGIN_MESSAGE_MAP(CTesterApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

// No name of its own: the framework names the application after the executable.
CTesterApp::CTesterApp() = default;

CTesterApp::~CTesterApp() = default;

bool CTesterApp::InitInstance() {
    AfxInitCommonControls();
    CWinApp::InitInstance();
    AfxEnableControlContainer();

    CTesterDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();  // OK or cancel: either ends the program
    // The dialog has closed: end the program rather than run a message loop.
    return false;
}
