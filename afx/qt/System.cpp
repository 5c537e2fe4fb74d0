// Strings, icons, message boxes and the icon size, from the embedded resources and Qt.
#include <QImage>
#include <QMessageBox>

#include <map>
#include <memory>

#include "afx/qt/QtBackend.h"
#include "afx/qt/Resources.h"
#include "afx/qt/Window.h"

namespace afx::qt {

namespace {

constexpr int ICON_SIZE = 32;

}  // namespace

bool QtBackend::LoadString(UINT nID, std::string& text) {
    const auto found =
        nID <= 0xFFFF ? Resources().String(static_cast<std::uint16_t>(nID)) : std::nullopt;
    text = found.value_or(std::string());
    return found.has_value();
}

HICON QtBackend::LoadIcon(UINT nID) {
    // One shared icon per resource for the whole run: loaded icons are never destroyed.
    static std::map<UINT, std::unique_ptr<HICON__>> loaded;
    std::unique_ptr<HICON__>& slot = loaded[nID];
    if (!slot && nID <= 0xFFFF) {
        const auto id = static_cast<std::uint16_t>(nID);
        // Decoded here: Qt's ICO plug-in would load at start, with another that it tries first.
        // What the decoder cannot read (a PNG image) still goes to the plug-in.
        if (const auto icon = Resources().Icon(id)) {
            // A copy: the pixels in icon go with it.
            const QImage image =
                QImage(reinterpret_cast<const uchar*>(icon->argb.data()), icon->width, icon->height,
                       icon->width * 4, QImage::Format_ARGB32)
                    .copy();
            slot = std::make_unique<HICON__>(HICON__{QPixmap::fromImage(image)});
        } else if (const std::vector<std::uint8_t> ico = Resources().IconFile(id); !ico.empty()) {
            QPixmap pixmap;
            if (pixmap.loadFromData(ico.data(), static_cast<uint>(ico.size()), "ICO"))
                slot = std::make_unique<HICON__>(HICON__{pixmap});
        }
    }
    return slot.get();
}

int QtBackend::MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    // The program's boxes have one button, OK; a warning shows the exclamation icon.
    const bool warning = (type & MB_ICONEXCLAMATION) == static_cast<UINT>(MB_ICONEXCLAMATION);
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromUtf8(caption != nullptr ? caption : ""),
                    QString::fromUtf8(text != nullptr ? text : ""), QMessageBox::Ok,
                    WidgetOf(owner));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    return IDOK;
}

int QtBackend::GetSystemMetrics(int index) {
    return index == SM_CXICON || index == SM_CYICON ? ICON_SIZE : 0;
}

QtBackend& TheQtBackend() {
    static QtBackend backend;
    return backend;
}

}  // namespace afx::qt
