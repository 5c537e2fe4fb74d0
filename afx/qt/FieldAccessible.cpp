// What screen readers see of a result field.
#include "afx/qt/DialogWidget.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace afx::qt {

namespace {

constexpr const char* RESULT_FIELD = "afxResultField";

// A read-only single-line text: enough of the text interface for a reader to read it whole,
// by character, word or line.
class FieldAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit FieldAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        // The name is the caption's (through the label relation), the description the tip's.
        if (kind == QAccessible::Value) return Value();
        return QAccessibleWidget::text(kind);
    }

    QString text(int start, int end) const override { return Value().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Value().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    QString Value() const { return static_cast<const QLabel*>(object())->text(); }
};

QAccessibleInterface* FieldFactory(const QString&, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    return label != nullptr && label->property(RESULT_FIELD).toBool() ? new FieldAccessible(label)
                                                                      : nullptr;
}

}  // namespace

void MarkResultField(QLabel& label, QLabel& caption) {
    static const bool installed = (QAccessible::installFactory(FieldFactory), true);
    (void)installed;
    label.setProperty(RESULT_FIELD, true);
    caption.setBuddy(&label);
}

void NotifyFieldText(QLabel& label, const QString& before) {
    if (!label.property(RESULT_FIELD).toBool() || !QAccessible::isActive()) return;
    QAccessibleTextUpdateEvent event(&label, 0, before, label.text());
    QAccessible::updateAccessibility(&event);
}

}  // namespace afx::qt
