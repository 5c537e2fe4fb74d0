#include "afx/qt/Icons.h"

#include <map>
#include <memory>

#include "afx/qt/Resources.h"

namespace afx::qt {

namespace {

struct IconObject {
    QPixmap pixmap;
};

std::map<UINT, std::unique_ptr<IconObject>>& Loaded()
{
    static std::map<UINT, std::unique_ptr<IconObject>> icons;
    return icons;
}

const IconObject* Find(HICON icon)
{
    for (const auto& [id, object] : Loaded()) {
        if (reinterpret_cast<HICON>(object.get()) == icon)
            return object.get();
    }
    return nullptr;
}

}  // namespace

HICON LoadIconHandle(UINT id)
{
    std::unique_ptr<IconObject>& slot = Loaded()[id];
    if (!slot) {
        const QImage image = LoadIconImage(static_cast<std::uint16_t>(id));
        if (image.isNull()) {
            Loaded().erase(id);
            return nullptr;
        }
        slot = std::make_unique<IconObject>();
        slot->pixmap = QPixmap::fromImage(image);
    }
    return reinterpret_cast<HICON>(slot.get());
}

QPixmap IconPixmap(HICON icon)
{
    const IconObject* object = Find(icon);
    return object != nullptr ? object->pixmap : QPixmap();
}

QIcon IconOf(HICON icon) { return QIcon(IconPixmap(icon)); }

}  // namespace afx::qt
