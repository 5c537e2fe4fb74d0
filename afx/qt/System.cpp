// Strings, icons, message boxes and the icon size, from the program's resources and Qt.
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QMessageBox>

#include <map>
#include <memory>

#include "afx/qt/Handles.h"
#include "afx/qt/QtBackend.h"

namespace afx::qt {
namespace {

constexpr int ICON_SIZE = 32;

struct Picture {
    QImage image;
    int bitsPerPixel = 0;
};

// Decoded here rather than by Qt's ICO plug-in, which would load at start with another plug-in
// that it tries first. PNG, the one other form of an icon image, is built into Qt.
Picture Decode(const afx::res::ByteView& data) {
    try {
        const afx::res::IconImage icon = afx::res::DecodeIconImage(data);
        // A copy: the pixels in icon go with it.
        return {QImage(reinterpret_cast<const uchar*>(icon.argb.data()), icon.width, icon.height,
                       icon.width * 4, QImage::Format_ARGB32)
                    .copy(),
                icon.header.bitCount};
    } catch (const afx::res::FormatError&) {
        return {QImage::fromData(data.data, static_cast<int>(data.size), "PNG"), 32};
    }
}

// One picture per size; where a size comes in several colour depths (the 16-colour image kept
// for old systems beside the true-colour one), the deepest.
QIcon IconOf(const std::vector<afx::res::IconResource>& images) {
    std::map<int, Picture> bySize;
    for (const afx::res::IconResource& image : images) {
        Picture picture = Decode(image.data);
        if (picture.image.isNull()) continue;
        Picture& best = bySize[picture.image.width()];
        if (picture.bitsPerPixel > best.bitsPerPixel) best = std::move(picture);
    }
    QIcon icon;
    for (const auto& [size, picture] : bySize)
        icon.addPixmap(QPixmap::fromImage(picture.image));
    return icon;
}

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
        const QIcon icon = IconOf(Resources().IconImages(static_cast<std::uint16_t>(nID)));
        if (!icon.isNull()) {
            // The dialog's picture for the sharpest screen: a 64-pixel image where it is scaled 2x.
            const QPixmap picture =
                icon.pixmap(QSize(ICON_SIZE, ICON_SIZE), qApp->devicePixelRatio());
            slot = std::make_unique<HICON__>(HICON__{icon, picture});
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
