// Window operations on the widgets of the records.
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <utility>

#include "afx/qt/DialogWidget.h"
#include "afx/qt/QtBackend.h"
#include "afx/qt/Handles.h"

namespace afx::qt {
namespace {

class WidgetPaintSession : public afx::PaintSession {
public:
    explicit WidgetPaintSession(QWidget* widget) : m_painter(widget) {}
    HDC Hdc() const override { return nullptr; }  // a painter, not a device context
    bool DrawIcon(int x, int y, HICON icon) override {
        if (!m_painter.isActive() || icon == nullptr) return false;
        m_painter.drawPixmap(x, y, icon->pixmap);
        return true;
    }

private:
    QPainter m_painter;
};

}  // namespace

HWND QtBackend::GetDlgItem(HWND hDlg, int nID) {
    const HWND__* dialog = Find(hDlg);
    if (dialog == nullptr) return nullptr;
    for (HWND child : dialog->children)
        if (child->id == nID) return child;
    return nullptr;
}

HWND QtBackend::GetParent(HWND hWnd) {
    const HWND__* window = Find(hWnd);
    return window != nullptr ? window->parent : nullptr;
}

bool QtBackend::IsWindow(HWND hWnd) { return Find(hWnd) != nullptr; }

void QtBackend::SetWindowText(HWND hWnd, const char* text) {
    HWND__* window = Find(hWnd);
    if (window == nullptr) return;
    window->text = text != nullptr ? text : "";
    if (!window->widget) return;
    const QString shown = QString::fromStdString(window->text);
    switch (window->kind) {
    case WindowKind::Dialog: window->widget->setWindowTitle(shown); break;
    case WindowKind::Button:
        static_cast<QPushButton*>(window->widget.data())->setText(shown);
        break;
    case WindowKind::Static: {
        auto* label = static_cast<QLabel*>(window->widget.data());
        if (!label->pixmap().isNull()) break;  // an icon shows no text
        const QString before = label->text();
        label->setText(StaticDisplayText(window->text, window->literalText));
        NotifyFieldText(*label, before);
        break;
    }
    default: break;  // a drop-down list's field shows its selection only
    }
}

bool QtBackend::EnableWindow(HWND hWnd, bool enable) {
    QWidget* widget = WidgetOf(hWnd);
    if (widget == nullptr) return false;
    // Its own state, not its dialog's: a modal child disables nothing here.
    const bool wasDisabled = widget->testAttribute(Qt::WA_ForceDisabled);
    widget->setEnabled(enable);
    return wasDisabled;
}

// A widget has no style bits but its visibility: WS_VISIBLE by its own state, whatever its
// parent's.
bool QtBackend::ModifyStyle(HWND hWnd, DWORD remove, DWORD add) {
    QWidget* widget = WidgetOf(hWnd);
    if (widget == nullptr) return false;
    const bool shown = widget->isWindow() ? widget->isVisible() : !widget->isHidden();
    const bool show = (add & WS_VISIBLE) != 0 || (shown && (remove & WS_VISIBLE) == 0);
    if (show == shown) return false;
    widget->setVisible(show);
    return true;
}

LRESULT QtBackend::SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return afx::RouteMessage(*this, hWnd, message, wParam, lParam);
}

bool QtBackend::SetWindowPos(HWND hWnd, HWND, int x, int y, int cx, int cy, UINT swpFlags) {
    QWidget* widget = WidgetOf(hWnd);
    if (widget == nullptr) return false;
    if ((swpFlags & SWP_NOMOVE) == 0)
        widget->move(x, y);  // a top-level window's frame, a control in its dialog's client area
    if ((swpFlags & SWP_NOSIZE) == 0) {
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            // A drop-down list's height includes its opened list; the field keeps its own.
            const int listHeight = cy - combo->height();
            combo->setMaxVisibleItems(std::max(1, listHeight / ComboItemHeight(hWnd, 0)));
            combo->resize(cx, combo->height());
        } else if (widget->isWindow()) {
            widget->setFixedSize(cx, cy);
        } else {
            widget->resize(cx, cy);
        }
    }
    // Stacking stays the template's: the program never reorders its controls.
    return true;
}

CRect QtBackend::GetWindowRect(HWND hWnd) {
    QWidget* widget = WidgetOf(hWnd);
    if (widget == nullptr) return {};
    const QRect rect = widget->isWindow()
                           ? widget->frameGeometry()
                           : QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    return CRect(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
}

CRect QtBackend::GetClientRect(HWND hWnd) {
    QWidget* widget = WidgetOf(hWnd);
    return widget != nullptr ? CRect(0, 0, widget->width(), widget->height()) : CRect();
}

void QtBackend::Invalidate(HWND hWnd, bool) {
    if (QWidget* widget = WidgetOf(hWnd)) widget->update();
}

HICON QtBackend::SetIcon(HWND hWnd, HICON icon, bool big) {
    HWND__* window = Find(hWnd);
    if (window == nullptr) return nullptr;
    const HICON previous = std::exchange(window->icons[big ? 1 : 0], icon);
    const HICON shown = window->icons[1] != nullptr ? window->icons[1] : window->icons[0];
    if (window->widget) window->widget->setWindowIcon(shown != nullptr ? shown->icon : QIcon());
    return previous;
}

HMENU QtBackend::GetSystemMenu(HWND hWnd, bool revert) {
    HWND__* window = Find(hWnd);
    if (window == nullptr || !window->systemMenu) return nullptr;
    if (revert) {
        window->systemMenu->items.clear();
        return nullptr;
    }
    return window->systemMenu.get();
}

bool QtBackend::AppendMenu(HMENU hMenu, UINT flags, UINT_PTR id, const char* text) {
    const bool separator = flags == static_cast<UINT>(MF_SEPARATOR);
    const bool command =
        flags == static_cast<UINT>(MF_STRING) && text != nullptr && id != 0 && id <= 0xFFFF;
    if (hMenu == nullptr || (!separator && !command)) return false;
    // "About Marlox(&A)...": Qt takes the ampersand as the access key mark too.
    hMenu->items.push_back(separator
                               ? HMENU__::Item{}
                               : HMENU__::Item{static_cast<UINT>(id), QString::fromUtf8(text)});
    return true;
}

bool QtBackend::IsIconic(HWND hWnd) {
    QWidget* widget = WidgetOf(hWnd);
    return widget != nullptr && widget->isMinimized();
}

bool QtBackend::DestroyWindow(HWND hWnd) {
    HWND__* window = Find(hWnd);
    if (window == nullptr) return false;
    QPointer<QWidget> widget = window->widget;
    RemoveWindow(hWnd);
    if (widget) {
        widget->hide();
        // Not now: the call may come from one of the widget's own event handlers.
        widget->deleteLater();
    }
    return true;
}

std::unique_ptr<afx::PaintSession> QtBackend::BeginPaint(HWND hWnd) {
    QWidget* widget = WidgetOf(hWnd);
    // Qt lets a widget be painted only from its paint event; elsewhere there is nothing to draw.
    if (widget == nullptr || widget != WidgetInPaint()) return nullptr;
    return std::make_unique<WidgetPaintSession>(widget);
}

}  // namespace afx::qt
