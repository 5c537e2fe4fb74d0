// Dialogs built from their templates, as the window system's dialog manager builds them, and
// what screen readers see of them.
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <utility>
#include <vector>

#include "afx/qt/DialogWidget.h"
#include "afx/qt/Handles.h"
#include "afx/qt/QtBackend.h"
#include "afx/res/DialogLayout.h"

namespace afx::qt {
namespace {

using afx::res::DialogItem;
using afx::res::DialogTemplate;
namespace style = afx::res::style;

// The Windows faces of the templates and what stands in for them here, best first.
const std::pair<const char*, const char*> FALLBACKS[] = {
    {"Arial", "Liberation Sans"},
    {"MS UI Gothic", "Noto Sans CJK JP"},
};

// The template's font, or its metric-compatible stand-in when the named one is not installed
// (fontconfig would otherwise hand out a font of other metrics under the same name), sized in
// pixels as Windows sizes it, at the screen's logical resolution.
QFont TemplateFont(const DialogTemplate& dialogTemplate) {
    if (!dialogTemplate.hasFont) return QFont();
    const QString face = QString::fromStdString(dialogTemplate.typeface);
    const QStringList families = QFontDatabase::families();
    QString family = QGuiApplication::font().family();  // nothing better: the desktop's own font
    for (const auto& [windowsFace, standIn] : FALLBACKS) {
        if (face.compare(QLatin1String(windowsFace), Qt::CaseInsensitive) == 0 &&
            families.contains(QLatin1String(standIn), Qt::CaseInsensitive))
            family = QLatin1String(standIn);
    }
    if (families.contains(face, Qt::CaseInsensitive)) family = face;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen != nullptr ? qRound(screen->logicalDotsPerInchY()) : 96;
    QFont font(family);
    const int points = dialogTemplate.pointSize > 0 ? dialogTemplate.pointSize : 8;
    font.setPixelSize(afx::res::MulDiv(points, dpi, 72));
    // Weight 0 means the face's normal weight; the scale is the same as Windows'.
    const int weight = dialogTemplate.weight == 0 ? 400 : dialogTemplate.weight;
    font.setWeight(static_cast<QFont::Weight>(std::min(weight, 1000)));
    font.setItalic(dialogTemplate.italic);
    return font;
}

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

// What screen readers see of a result field (a static control without text of its own): its
// caption as its name (label-for / labelled-by), its value as its text, its tip as its
// description.
void MarkResultField(QLabel& label, QLabel& caption) {
    static const bool installed = (QAccessible::installFactory(FieldFactory), true);
    (void)installed;
    label.setProperty(RESULT_FIELD, true);
    caption.setBuddy(&label);
}

// Its average width, as Windows measures a font's, gives the dialog's horizontal base unit.
constexpr char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int ICON_SIZE = 32;  // an icon static takes the icon's size, not the template's

// Predefined classes by ordinal, as the resource compiler writes them; anything else shows as
// static text.
WindowKind KindOf(const DialogItem& item) {
    const afx::res::SzOrOrd& cls = item.windowClass;
    if (cls.isOrdinal && cls.ordinal == afx::res::cls::BUTTON) return WindowKind::Button;
    if (cls.isOrdinal && cls.ordinal == afx::res::cls::COMBOBOX) return WindowKind::ComboBox;
    return WindowKind::Static;
}

QWidget* MakeStatic(const DialogItem& item, QWidget* parent, QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    const DWORD type = item.style & style::STATIC_TYPE_MASK;
    if (type == style::STATIC_ICON) {
        const HICON icon =
            item.title.isOrdinal ? TheQtBackend().LoadIcon(item.title.ordinal) : nullptr;
        if (icon != nullptr) label->setPixmap(icon->pixmap);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        geometry.setSize(QSize(ICON_SIZE, ICON_SIZE));
    } else {
        // Single-line text is centred vertically only with SS_CENTERIMAGE; otherwise it starts
        // at the top and wraps.
        label->setAlignment(
            (type == style::STATIC_RIGHT    ? Qt::AlignRight
             : type == style::STATIC_CENTER ? Qt::AlignHCenter
                                            : Qt::AlignLeft) |
            ((item.style & style::STATIC_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop));
        // Text wraps as DrawText's word break does, where the control has room for a second
        // line; a one-line label is widened to its text instead (FitTexts).
        const bool roomForTwoLines = geometry.height() >= 2 * label->fontMetrics().height();
        label->setWordWrap((item.style & style::STATIC_CENTERIMAGE) == 0 && roomForTwoLines);
        label->setText(
            StaticDisplayText(item.title.text, (item.style & style::STATIC_NOPREFIX) != 0));
    }
    if (item.exStyle & style::EX_STATICEDGE) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
    }
    return label;
}

QWidget* MakeButton(const DialogItem& item, DialogWidget* parent, HWND__& dialogRecord) {
    auto* button = new QPushButton(QString::fromStdString(item.title.text), parent);
    button->setAutoDefault(false);
    if ((item.style & style::BUTTON_TYPE_MASK) == style::BUTTON_DEFPUSHBUTTON) {
        button->setDefault(true);
        dialogRecord.defaultId = item.id;
    }
    QObject::connect(button, &QPushButton::clicked,
                     [parent, id = item.id] { parent->Command(id); });
    return button;
}

// Styles that open a drop-down list as a menu over the field, Fusion among them, show every entry
// whatever the visible-entries limit; this one keeps the plain list, so the limit holds. (A style
// sheet does the same, but loads Qt's style-sheet machinery at start.)
class PlainListStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Tells the dialog that its list is about to open (CBN_DROPDOWN), before it shows, so the
// dialog can change the entries first.
class NotifyingComboBox : public QComboBox {
public:
    NotifyingComboBox(DialogWidget* dialog, int id) : QComboBox(dialog), m_id(id) {}

    void showPopup() override {
        static_cast<DialogWidget*>(parentWidget())->Notify(m_id, CBN_DROPDOWN);
        QComboBox::showPopup();
    }

private:
    const int m_id;
};

QWidget* MakeComboBox(const DialogItem& item, DialogWidget* parent, QRect& geometry) {
    // CBS_DROPDOWNLIST: a selection field and a list, no typing. Entries are only ever inserted
    // at a position, which never sorts, so the sort style has nothing to do.
    auto* combo = new NotifyingComboBox(parent, item.id);
    combo->setEditable(false);
    // Without a base, the proxy makes its own instance of the application's style (-style or the
    // desktop's); the combo box owns it.
    auto* style = new PlainListStyle;
    style->setParent(combo);
    combo->setStyle(style);
    // The template's height includes the opened list; the field is as high as the font needs.
    const int fieldHeight = combo->sizeHint().height();
    const int itemHeight = std::max(1, combo->fontMetrics().height());
    combo->setMaxVisibleItems(std::max(1, (geometry.height() - fieldHeight) / itemHeight));
    geometry.setHeight(fieldHeight);
    return combo;
}

// The width a control needs to show its text whole in the font it uses; 0 for none. Controls
// the template hides for good (the dialog's hidden OK and Cancel) need nothing.
int NeededWidth(const QWidget& control) {
    if (control.isHidden()) return 0;
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        return button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin;
    }
    const auto* label = qobject_cast<const QLabel*>(&control);
    if (label == nullptr || label->text().isEmpty()) return 0;
    if (label->wordWrap() && label->heightForWidth(label->width()) <= label->height()) return 0;
    return label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->frameWidth();
}

// Fonts here are wider than the ones the templates were sized for: where a text does not fit,
// its column widens and the dialog with it (afx::res::WidenColumns).
void FitTexts(QWidget& dialog, const std::vector<HWND>& controls) {
    std::vector<afx::res::PixelRect> rects;
    std::vector<int> needed;
    for (HWND control : controls) {
        const QRect r = control->widget->geometry();
        rects.push_back({r.x(), r.y(), r.width(), r.height()});
        needed.push_back(NeededWidth(*control->widget));
    }
    const int width = afx::res::WidenColumns(rects, needed, dialog.width());
    for (std::size_t i = 0; i < controls.size(); ++i)
        controls[i]->widget->setGeometry(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
    dialog.setFixedSize(width, dialog.height());
}

}  // namespace

void NotifyFieldText(QLabel& label, const QString& before) {
    if (!label.property(RESULT_FIELD).toBool() || !QAccessible::isActive()) return;
    QAccessibleTextUpdateEvent event(&label, 0, before, label.text());
    QAccessible::updateAccessibility(&event);
}

QString StaticDisplayText(const std::string& text, bool noPrefix) {
    return QString::fromStdString(afx::res::StaticDisplayText(text, noPrefix));
}

HWND CreateDialogWindow(const DialogTemplate& dialogTemplate, HWND owner) {
    // A caption and, with WS_SYSMENU, a close box; no minimise, maximise or sizing.
    const bool sysMenu = (dialogTemplate.style & style::SYSMENU) != 0;
    auto* widget = new DialogWidget(
        WidgetOf(owner),
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
            (sysMenu ? Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint : Qt::WindowFlags()));
    const HWND handle = AddWindow(WindowKind::Dialog, widget, owner);
    HWND__& dialog = *handle;
    widget->SetHandle(handle);
    if (sysMenu) dialog.systemMenu = std::make_unique<HMENU__>();

    const QFont font = TemplateFont(dialogTemplate);
    widget->setFont(font);
    const QFontMetrics metrics(font);
    const int baseX = (metrics.horizontalAdvance(QLatin1String(ALPHABET)) / 26 + 1) / 2;
    const auto pixels = [baseX, baseY = metrics.height()](int x, int y, int cx, int cy) {
        const afx::res::PixelRect r = afx::res::DialogUnitsToPixels(x, y, cx, cy, baseX, baseY);
        return QRect(r.x, r.y, r.width, r.height);
    };
    widget->setWindowTitle(QString::fromStdString(dialogTemplate.title));
    widget->setFixedSize(pixels(0, 0, dialogTemplate.cx, dialogTemplate.cy).size());

    // Controls in template order: also Qt's tab order, which follows creation.
    for (const DialogItem& item : dialogTemplate.items) {
        const WindowKind kind = KindOf(item);
        QRect geometry = pixels(item.x, item.y, item.cx, item.cy);
        QWidget* control = kind == WindowKind::Button     ? MakeButton(item, widget, dialog)
                           : kind == WindowKind::ComboBox ? MakeComboBox(item, widget, geometry)
                                                          : MakeStatic(item, widget, geometry);
        control->setGeometry(geometry);
        control->setFocusPolicy(kind == WindowKind::Static      ? Qt::NoFocus
                                : (item.style & style::TABSTOP) ? Qt::StrongFocus
                                                                : Qt::ClickFocus);
        control->setEnabled((item.style & style::DISABLED) == 0);
        control->setVisible((item.style & style::VISIBLE) != 0);
        // Each control goes below the ones before it: the first in the template is on top.
        control->lower();

        const HWND record = AddWindow(kind, control, handle);
        record->id = item.id;
        record->literalText = kind == WindowKind::Static && (item.style & style::STATIC_NOPREFIX);
        record->text = item.title.isOrdinal ? std::string() : item.title.text;
        dialog.children.push_back(record);
    }
    const std::vector<HWND>& controls = dialog.children;
    FitTexts(*widget, controls);

    for (std::size_t i = 0; i < controls.size(); ++i) {
        const HWND__& record = *controls[i];
        QWidget* control = record.widget;
        // Screen readers read a control's own text, or its label's (else the title's) when it has
        // none.
        const auto label = afx::res::LabelOf(dialogTemplate, i);
        auto* caption = label ? qobject_cast<QLabel*>(controls[*label]->widget.data()) : nullptr;
        auto* field = qobject_cast<QLabel*>(control);
        // A result field is named by its caption, which labels it; its text is its value.
        if (field != nullptr && record.text.empty() && field->pixmap().isNull() &&
            caption != nullptr && caption->buddy() == nullptr) {
            MarkResultField(*field, *caption);
            continue;
        }
        control->setAccessibleName(
            !record.text.empty() ? StaticDisplayText(record.text, record.literalText)
            : label              ? StaticDisplayText(dialogTemplate.items[*label].title.text, false)
                                 : StaticDisplayText(dialogTemplate.title, false));
        // A control without text of its own is labelled by its caption too, whose access key
        // takes the user there.
        if (record.text.empty() && field == nullptr && caption != nullptr &&
            caption->buddy() == nullptr)
            caption->setBuddy(control);
    }
    return handle;
}

}  // namespace afx::qt
