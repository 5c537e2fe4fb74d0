// The TEST command: one connection test on the selected port, each outcome shown as it arrives.
#include "link/ConnectionTest.h"
#include "ui/TesterDlg.h"

namespace {

CString LoadText(UINT nID) {
    CString text;
    AfxFormatString1(text, nID, "");
    return text;
}

// Closes the link and enables TEST again however the test ends; the port list, kept still while
// the test runs, may follow the machine again then.
class CTestRunScope {
public:
    CTestRunScope(CSerialLink& link, CButton& testButton, PortRefresh& refresh)
        : m_link(link), m_testButton(testButton), m_refresh(refresh) {
        m_refresh.TestStarted();
    }
    ~CTestRunScope() {
        m_link.Close();
        m_testButton.EnableWindow(true);
        m_refresh.TestEnded();
    }
    CTestRunScope(const CTestRunScope&) = delete;
    CTestRunScope& operator=(const CTestRunScope&) = delete;

private:
    CSerialLink& m_link;
    CButton& m_testButton;
    PortRefresh& m_refresh;
};

}  // namespace

CString OpenFailureReason(const sys::OpenFailure& failure) {
    using Kind = sys::OpenFailure::Kind;
    CString text;
    switch (failure.kind) {
    case Kind::None: break;
    case Kind::NoDevice: text.LoadString(IDS_OPEN_NO_DEVICE); break;
    case Kind::NotSerialPort: text.LoadString(IDS_OPEN_NOT_SERIAL_PORT); break;
    case Kind::PermissionDenied:
        if (failure.group.empty())
            text.LoadString(IDS_OPEN_DENIED);
        else
            AfxFormatString1(text, IDS_OPEN_DENIED_GROUP, failure.group.c_str());
        break;
    case Kind::InUse:
        if (failure.holders.empty())
            text.LoadString(IDS_OPEN_IN_USE_UNSEEN);
        else
            AfxFormatString1(text, IDS_OPEN_IN_USE, sys::HoldersText(failure.holders).c_str());
        break;
    case Kind::Locked:
        AfxFormatString2(text, IDS_OPEN_LOCKED, std::to_string(failure.lockOwner).c_str(),
                         failure.lockFile.c_str());
        break;
    case Kind::LockUnreadable:
        AfxFormatString1(text, IDS_OPEN_LOCK_UNREADABLE, failure.lockFile.c_str());
        break;
    case Kind::ExclusiveFlagLeft: text.LoadString(IDS_OPEN_EXCLUSIVE_LEFT); break;
    case Kind::ByteWaitRefused: text.LoadString(IDS_OPEN_BYTE_WAIT_REFUSED); break;
    case Kind::SettingsRefused: text.LoadString(IDS_OPEN_SETTINGS_REFUSED); break;
    case Kind::System: text = failure.systemText; break;
    }
    return text;
}

// Writes each outcome into its result field the moment the test reports it.
class CTestResultWriter : public TestObserver {
public:
    explicit CTestResultWriter(CTesterDlg& dlg) : m_dlg(dlg) {}

    void OnTextResult(Inquiry inquiry, const std::optional<std::string>& text) override {
        CStatic* field = FieldFor(inquiry);
        if (field == nullptr) return;
        if (text) {
            field->SetWindowText(text->c_str());
        } else {
            field->SetWindowText(LoadText(IDS_NO_RESPOND));
        }
    }

    void OnProtectionResult(ProtectionResult result) override {
        switch (result) {
        case ProtectionResult::None:
            m_dlg.m_protectionField.SetWindowText(LoadText(IDS_PROTECTION_NONE));
            m_dlg.m_protectionIcon.ModifyStyle(WS_VISIBLE, 0);
            break;
        case ProtectionResult::Protected:
            m_dlg.m_protectionField.SetWindowText(LoadText(IDS_PROTECTION_ON));
            m_dlg.m_protectionIcon.ModifyStyle(0, WS_VISIBLE);
            break;
        case ProtectionResult::NoResponse:
            m_dlg.m_protectionField.SetWindowText(LoadText(IDS_NO_RESPOND));
            break;
        }
    }

    void OnRefresh() override {
        m_dlg.InvalidateRect(nullptr, true);
        m_dlg.PumpWaitingMessages();
    }

private:
    CStatic* FieldFor(Inquiry inquiry) {
        switch (inquiry) {
        case Inquiry::EngineCode: return &m_dlg.m_engineCodeField;
        case Inquiry::Version: return &m_dlg.m_versionField;
        case Inquiry::LegacyEngineCode: return &m_dlg.m_legacyEngineCodeField;
        case Inquiry::LegacyVersion: return &m_dlg.m_legacyVersionField;
        case Inquiry::Protection: break;  // reported through OnProtectionResult
        }
        return nullptr;
    }

    CTesterDlg& m_dlg;
};

void CTesterDlg::PumpWaitingMessages() {
    CWinThread* thread = AfxGetThread();
    while (thread != nullptr && AfxPeekMessage()) {
        if (!thread->PumpMessage()) break;  // quit: leave it to the modal loop
    }
}

void CTesterDlg::OnTest() {
    // The drop-down holds the port list in its order: the selection is the list index.
    const int selected = m_portCombo.GetCurSel();
    if (selected < 0 || static_cast<std::size_t>(selected) >= m_ports.GetCount()) {
        AfxThrowInvalidArgException();
    }
    // A copy: the selection may change while messages are pumped during the test.
    const std::string devicePath = m_ports.GetAt(static_cast<std::size_t>(selected)).devicePath;

    if (!m_link.Open(devicePath)) {
        // The string table's line, then the reason on a line of its own.
        CString text;
        text.LoadString(IDS_CANNOT_OPEN_PORT);
        const CString reason = OpenFailureReason(m_link.LastOpenError());
        AfxMessageBox(reason.IsEmpty() ? text : CString(text.Str() + "\n" + reason.Str()), MB_OK);
        return;
    }
    CTestRunScope scope(m_link, m_testButton, m_portRefresh);
    m_testButton.EnableWindow(false);

    m_protectionIcon.ModifyStyle(WS_VISIBLE, 0);
    InvalidateRect(nullptr, true);
    PumpWaitingMessages();

    m_legacyEngineCodeField.SetWindowText("");
    m_legacyVersionField.SetWindowText("");
    m_engineCodeField.SetWindowText("");
    m_versionField.SetWindowText("");
    m_protectionField.SetWindowText("");

    CTestResultWriter writer(*this);
    RunConnectionTest(m_link, writer);
}
