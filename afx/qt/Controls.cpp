// Drop-down lists and tooltips on their Qt widgets.
#include <QAbstractItemView>
#include <QComboBox>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>
#include <QToolTip>

#include <algorithm>

#include "afx/qt/DialogWidget.h"
#include "afx/qt/Handles.h"
#include "afx/qt/QtBackend.h"

namespace afx::qt {
namespace {

QStringList WrapParagraph(const QString& paragraph, const QFont& font, int maxWidth) {
    if (paragraph.isEmpty() || maxWidth <= 0) return {paragraph};
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(maxWidth);
        // The break's trailing space belongs to no line.
        lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

QComboBox* Combo(HWND hWnd) {
    const HWND__* window = Find(hWnd);
    return window != nullptr && window->kind == WindowKind::ComboBox
               ? static_cast<QComboBox*>(window->widget.data())
               : nullptr;
}

HWND__* ToolTipWindow(HWND hWnd) {
    HWND__* window = Find(hWnd);
    return window != nullptr && window->kind == WindowKind::ToolTip ? window : nullptr;
}

// Each tool's widget carries its tip as Qt shows tips: wrapped to the maximum width, and none
// while the tooltip is inactive.
void ApplyTipsNow(const HWND__& toolTip) {
    for (const auto& [tool, textId] : toolTip.tools) {
        QWidget* widget = WidgetOf(tool);
        if (widget == nullptr) continue;
        const auto text =
            toolTip.active ? Resources().String(static_cast<std::uint16_t>(textId)) : std::nullopt;
        widget->setToolTip(
            text ? WrapTipText(QString::fromStdString(*text), QToolTip::font(), toolTip.maxTipWidth)
                 : QString());
    }
}

// Wrapping lays the tips out in the tooltip font, which nothing else on the dialog uses: loading it
// waits until the dialog has first been painted, well before a pointer can rest on a tool.
void ApplyTips(HWND__& toolTip) {
    auto* dialog = dynamic_cast<DialogWidget*>(WidgetOf(toolTip.parent));
    if (dialog == nullptr) {
        ApplyTipsNow(toolTip);
        return;
    }
    if (toolTip.tipsPending) return;
    toolTip.tipsPending = true;
    const HWND handle = &toolTip;
    dialog->AfterFirstPaint([handle] {
        if (HWND__* tip = ToolTipWindow(handle)) {
            tip->tipsPending = false;
            ApplyTipsNow(*tip);
        }
    });
}

}  // namespace

QString WrapTipText(const QString& text, const QFont& font, int maxWidth) {
    // Lines end at "\r\n", "\r" or "\n". Plain replacements: a regular expression's JIT
    // compilation would add some 0.4 MB to the start, which needs nothing else of it.
    QString paragraphs = text;
    paragraphs.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lines;
    for (const QString& paragraph : paragraphs.split(u'\n'))
        lines << WrapParagraph(paragraph, font, maxWidth);
    return lines.join(QLatin1Char('\n'));
}

int QtBackend::ComboSelection(HWND hWnd) {
    QComboBox* combo = Combo(hWnd);
    return combo != nullptr && combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
}

int QtBackend::ComboSelect(HWND hWnd, int index) {
    QComboBox* combo = Combo(hWnd);
    if (combo == nullptr) return CB_ERR;
    const bool valid = index >= 0 && index < combo->count();
    combo->setCurrentIndex(valid ? index : -1);
    return valid ? index : CB_ERR;
}

int QtBackend::ComboInsert(HWND hWnd, int index, const char* text) {
    QComboBox* combo = Combo(hWnd);
    if (combo == nullptr) return CB_ERR;
    const int at = index == -1 ? combo->count() : index;
    if (at < 0 || at > combo->count()) return CB_ERR;
    combo->insertItem(at, QString::fromUtf8(text != nullptr ? text : ""));
    return at;
}

int QtBackend::ComboItemHeight(HWND hWnd, int) {
    // The selection field shows one entry: the same height either way.
    QComboBox* combo = Combo(hWnd);
    if (combo == nullptr) return 0;
    const int rowHeight = combo->count() > 0 ? combo->view()->sizeHintForRow(0) : 0;
    return std::max(combo->fontMetrics().height(), rowHeight);
}

void QtBackend::ComboReset(HWND hWnd) {
    if (QComboBox* combo = Combo(hWnd)) combo->clear();
}

HWND QtBackend::CreateToolTip(HWND parent, DWORD) {
    return AddWindow(WindowKind::ToolTip, nullptr, parent);
}

bool QtBackend::AddTool(HWND toolTip, HWND tool, UINT textId) {
    HWND__* tip = ToolTipWindow(toolTip);
    if (tip == nullptr || WidgetOf(tool) == nullptr) return false;
    tip->tools[tool] = textId;
    ApplyTips(*tip);
    return true;
}

int QtBackend::SetMaxTipWidth(HWND toolTip, int width) {
    HWND__* tip = ToolTipWindow(toolTip);
    if (tip == nullptr) return -1;
    const int previous = tip->maxTipWidth;
    tip->maxTipWidth = width;
    ApplyTips(*tip);
    return previous;
}

void QtBackend::ActivateToolTip(HWND toolTip, bool active) {
    HWND__* tip = ToolTipWindow(toolTip);
    if (tip == nullptr) return;
    tip->active = active;
    if (!active) QToolTip::hideText();
    ApplyTips(*tip);
}

}  // namespace afx::qt
