#include "ui/TesterDlg.h"

#include "ports/DiscoverPorts.h"
#include "ui/AboutDlg.h"

namespace {
// The opened drop-down list has room for about this many entries; more scroll.
constexpr int VISIBLE_LIST_ENTRIES = 5;
constexpr int MAX_TIP_WIDTH = 320;  // pixels; lets the two-line tips break at "\r\n"
}  // namespace

CTesterDlg::CTesterDlg(CWnd* pParent)
    : CDialog(IDD, pParent),
      m_portRefresh(m_ports, m_portView, m_refreshTimer,
                    [](PortList& ports) { DiscoverPorts(ports); }) {
    if (CWinApp* app = AfxGetApp()) m_hIcon = app->LoadIcon(IDR_MAINFRAME);
}

CTesterDlg::~CTesterDlg() = default;

void CTesterDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PORT, m_portCombo);
    DDX_Control(pDX, IDC_LEGACY_ENGINECODE, m_legacyEngineCodeField);
    DDX_Control(pDX, IDC_LEGACY_VERSION, m_legacyVersionField);
    DDX_Control(pDX, IDC_ENGINECODE, m_engineCodeField);
    DDX_Control(pDX, IDC_VERSION, m_versionField);
    DDX_Control(pDX, IDC_PROTECTION, m_protectionField);
    DDX_Control(pDX, IDC_TEST, m_testButton);
    DDX_Control(pDX, IDC_PROTECTION_ICON, m_protectionIcon);
}

BEGIN_MESSAGE_MAP(CTesterDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_TEST, &CTesterDlg::OnTest)
ON_WM_DEVICECHANGE()
ON_WM_TIMER()
ON_CBN_DROPDOWN(IDC_PORT, &CTesterDlg::OnPortDropDown)
END_MESSAGE_MAP()

bool CTesterDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (CMenu* pSysMenu = GetSystemMenu(false)) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);

    // A discovery failure is shown, and the dialog goes on with the entries found before it.
    // The refresh fills the list too, so that the drop-down is filled along one path only.
    m_portRefresh.Fill([](const std::string& text) { AfxMessageBox(text.c_str(), MB_OK); });

    CRect rect;
    m_portCombo.GetWindowRect(&rect);
    const int fieldHeight = m_portCombo.GetItemHeight(-1);
    m_portCombo.SetWindowPos(nullptr, 0, 0, rect.Width(),
                             rect.Height() + VISIBLE_LIST_ENTRIES * fieldHeight,
                             SWP_NOMOVE | SWP_NOZORDER);

    m_toolTip.Create(this, 0);  // without it the dialog just has no tips
    m_toolTip.SetMaxTipWidth(MAX_TIP_WIDTH);
    m_toolTip.AddTool(&m_legacyEngineCodeField, IDS_TIP_LEGACY);
    m_toolTip.AddTool(&m_legacyVersionField, IDS_TIP_LEGACY);
    m_toolTip.AddTool(&m_engineCodeField, IDS_TIP_TARVEX);
    m_toolTip.AddTool(&m_versionField, IDS_TIP_TARVEX);
    m_toolTip.AddTool(&m_protectionField, IDS_TIP_PROTECTION);
    m_toolTip.Activate(true);

    // From now on the list follows adapters plugged in and out (without a registration, the
    // system's broadcast and the list being opened still do).
    m_deviceNotification.Start(this);

    return true;  // the window system focuses the first tab stop, the port list
}

bool CTesterDlg::PreTranslateMessage(MSG* pMsg) {
    m_toolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CTesterDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CTesterDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

    const int cxIcon = AfxGetSystemMetrics(SM_CXICON);
    const int cyIcon = AfxGetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    dc.DrawIcon(CenteredIconOffset(rect.Width(), cxIcon), CenteredIconOffset(rect.Height(), cyIcon),
                m_hIcon);
}

HCURSOR CTesterDlg::OnQueryDragIcon() { return m_hIcon; }

bool CTesterDlg::OnDeviceChange(UINT nEventType, LPARAM dwData) {
    if (AfxIsPortDeviceChange(nEventType, dwData)) m_portRefresh.DevicesChanged();
    return true;
}

void CTesterDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == m_refreshTimer.Id()) m_portRefresh.TimerElapsed();
}

void CTesterDlg::OnPortDropDown() { m_portRefresh.ListOpening(); }
