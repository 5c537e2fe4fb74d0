#include "ui/PortRefreshControls.h"

int CComboPortView::Selection() { return m_combo.GetCurSel(); }

void CComboPortView::Refill(const std::vector<std::string>& names, int selection) {
    if (m_filled) m_combo.ResetContent();
    m_filled = true;
    for (std::size_t i = 0; i < names.size(); ++i)
        m_combo.InsertString(static_cast<int>(i), names[i].c_str());
    if (selection >= 0) m_combo.SetCurSel(selection);
}

void CWndSettleTimer::Start(unsigned ms) { m_wnd.SetTimer(m_id, ms); }

void CWndSettleTimer::Stop() { m_wnd.KillTimer(m_id); }
