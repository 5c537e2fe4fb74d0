// Resources, message boxes and system facts of afx/Backend.h.
#include <QMessageBox>
#include <QPushButton>

#include "afx/Backend.h"
#include "afx/qt/Icons.h"
#include "afx/qt/Resources.h"
#include "afx/qt/WinConstants.h"
#include "afx/qt/WindowTable.h"

namespace {

namespace win = afx::qt::win;

constexpr int kIconSize = 32;

QMessageBox::Icon BoxIcon(UINT type)
{
    switch (type & win::kMbIconMask) {
    case win::kMbIconHand: return QMessageBox::Critical;
    case win::kMbIconQuestion: return QMessageBox::Question;
    case win::kMbIconExclamation: return QMessageBox::Warning;
    case win::kMbIconAsterisk: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct BoxButtons {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton escape;
};

BoxButtons Buttons(UINT type)
{
    switch (type & win::kMbTypeMask) {
    case win::kMbOkCancel: return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel};
    case win::kMbYesNoCancel:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel};
    case win::kMbYesNo: return {QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton};
    case win::kMbRetryCancel: return {QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Cancel};
    default: return {QMessageBox::Ok, QMessageBox::Ok};
    }
}

int CommandId(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Cancel: return win::kIdCancel;
    case QMessageBox::Yes: return win::kIdYes;
    case QMessageBox::No: return win::kIdNo;
    case QMessageBox::Retry: return win::kIdRetry;
    default: return win::kIdOk;
    }
}

}  // namespace

namespace afx_backend {

bool LoadString(UINT nID, std::string& text)
{
    const auto found = nID <= 0xFFFF ? afx::qt::LoadResourceString(static_cast<std::uint16_t>(nID))
                                     : std::nullopt;
    text = found.value_or(std::string());
    return found.has_value();
}

HICON LoadIcon(UINT nID) { return afx::qt::LoadIconHandle(nID); }

int MessageBox(HWND hWndOwner, const char* text, const char* caption, UINT nType)
{
    const BoxButtons buttons = Buttons(nType);
    QMessageBox box(BoxIcon(nType), QString::fromUtf8(caption != nullptr ? caption : ""),
                    QString::fromUtf8(text != nullptr ? text : ""), buttons.buttons,
                    afx::qt::WidgetOf(hWndOwner));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    if (buttons.escape != QMessageBox::NoButton)
        box.setEscapeButton(buttons.escape);
    box.exec();
    // Closed without a button (the window manager's close box): as Escape would.
    const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    return CommandId(pressed != QMessageBox::NoButton ? pressed : buttons.escape);
}

int GetSystemMetrics(int nIndex)
{
    return nIndex == SM_CXICON || nIndex == SM_CYICON ? kIconSize : 0;
}

void InitCommonControls()
{
    // Every Qt widget is available without registration.
}

}  // namespace afx_backend
