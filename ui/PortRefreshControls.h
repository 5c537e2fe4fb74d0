#pragma once
// PortRefresh's drop-down and timer over the dialog's own controls and window.

#include "afx/afxwin.h"
#include "ui/PortRefresh.h"

class CComboPortView : public PortListView {
public:
    explicit CComboPortView(CComboBox& combo) : m_combo(combo) {}
    int Selection() override;
    // Explicit positions, so the entries keep the port list's order whatever the sort style.
    void Refill(const std::vector<std::string>& names, int selection) override;

private:
    CComboBox& m_combo;
    bool m_filled = false;  // the first fill finds the drop-down empty, as the template made it
};

// A window timer (WM_TIMER repeats: PortRefresh stops it at its first tick).
class CWndSettleTimer : public SettleTimer {
public:
    CWndSettleTimer(CWnd& wnd, UINT_PTR id) : m_wnd(wnd), m_id(id) {}
    UINT_PTR Id() const { return m_id; }
    void Start(unsigned ms) override;
    void Stop() override;

private:
    CWnd& m_wnd;
    UINT_PTR m_id;
};
