#pragma once
// The tester dialog: port list, TEST button, five result fields with tooltips and the protection
// icon. The test command itself is in TestCommand.cpp.

#include "afx/afxwin.h"
#include "link/SerialLink.h"
#include "ports/PortList.h"
#include "res/resource.h"
#include "ui/PortRefresh.h"
#include "ui/PortRefreshControls.h"

// Where an icon of iconSize is drawn to sit centred in clientSize: (client - icon + 1) / 2,
// with C++'s division, which truncates toward zero.
constexpr int CenteredIconOffset(int clientSize, int iconSize) {
    return (clientSize - iconSize + 1) / 2;
}

// Why a port did not open, in the user's language from the string table; the system's own
// message as it comes.
CString OpenFailureReason(const sys::OpenFailure& failure);

class CTesterDlg : public CDialog {
public:
    enum { IDD = IDD_TESTER_DIALOG };

    explicit CTesterDlg(CWnd* pParent = nullptr);
    // Destroys the members only; every test closes the link it opened.
    ~CTesterDlg() override;

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* pDX) override;

public:
    bool PreTranslateMessage(MSG* pMsg) override;

protected:
    bool OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTest();
    // The port list follows the machine: device events, and the list being opened.
    bool OnDeviceChange(UINT nEventType, LPARAM dwData);
    void OnTimer(UINT_PTR nIDEvent);
    void OnPortDropDown();

private:
    friend class CTestResultWriter;

    static constexpr UINT_PTR REFRESH_TIMER_ID = 1;  // the port list's settle timer

    // Lets the thread process every waiting message, pre-translated, while a test runs.
    void PumpWaitingMessages();

    HICON m_hIcon = nullptr;
    CComboBox m_portCombo;
    CStatic m_legacyEngineCodeField;
    CStatic m_legacyVersionField;
    CStatic m_engineCodeField;
    CStatic m_versionField;
    CStatic m_protectionField;
    CStatic m_protectionIcon;
    CToolTipCtrl m_toolTip;
    CSerialLink m_link;
    PortList m_ports;
    CButton m_testButton;
    CComboPortView m_portView{m_portCombo};
    CWndSettleTimer m_refreshTimer{*this, REFRESH_TIMER_ID};
    PortRefresh m_portRefresh;
    CDeviceNotification m_deviceNotification;
};
