#pragma once
// The About box: the template's picture and texts, closed with OK, Enter, Escape or its close box.

#include "afx/afxwin.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };

    // No parent: the framework makes the main window (the tester dialog) its owner.
    CAboutDlg();
    ~CAboutDlg() override;

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
