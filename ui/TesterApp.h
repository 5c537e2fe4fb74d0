#pragma once
// The application object: runs the tester dialog modally and ends the program when it closes.

#include "afx/afxwin.h"

class CTesterApp : public CWinApp {
public:
    CTesterApp();
    ~CTesterApp() override;

    DECLARE_MESSAGE_MAP()

public:
    bool InitInstance() override;
};
