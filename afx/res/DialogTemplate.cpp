#include "afx/res/DialogTemplate.h"

namespace afx::res {
namespace {

constexpr std::uint32_t DS_SET_FONT = 0x40;

void ReadItemTail(ByteReader& r, DialogItem& item) {
    item.windowClass = r.ReadSzOrOrd();
    item.title = r.ReadSzOrOrd();
    ByteView extra = r.Take(r.U16());
    item.extra.assign(extra.data, extra.data + extra.size);
}

DialogItem ReadExItem(ByteReader& r) {
    DialogItem item;
    item.helpId = r.U32();
    item.exStyle = r.U32();
    item.style = r.U32();
    item.x = r.I16();
    item.y = r.I16();
    item.cx = r.I16();
    item.cy = r.I16();
    item.id = static_cast<std::int32_t>(r.U32());
    ReadItemTail(r, item);
    return item;
}

DialogItem ReadPlainItem(ByteReader& r) {
    DialogItem item;
    item.style = r.U32();
    item.exStyle = r.U32();
    item.x = r.I16();
    item.y = r.I16();
    item.cx = r.I16();
    item.cy = r.I16();
    item.id = r.I16();  // a 16-bit id: 0xFFFF is -1 here too
    ReadItemTail(r, item);
    return item;
}

}  // namespace

DialogTemplate ParseDialogTemplate(ByteView data) {
    ByteReader r(data);
    DialogTemplate dlg;
    ByteReader probe(data);
    dlg.extended = probe.U16() == 1 && probe.U16() == 0xFFFF;

    std::uint16_t itemCount = 0;
    if (dlg.extended) {
        r.Skip(4);
        dlg.helpId = r.U32();
        dlg.exStyle = r.U32();
        dlg.style = r.U32();
    } else {
        dlg.style = r.U32();
        dlg.exStyle = r.U32();
    }
    itemCount = r.U16();
    dlg.x = r.I16();
    dlg.y = r.I16();
    dlg.cx = r.I16();
    dlg.cy = r.I16();
    dlg.menu = r.ReadSzOrOrd();
    dlg.windowClass = r.ReadSzOrOrd();
    dlg.title = Utf16ToUtf8(r.Utf16z());

    if (dlg.style & DS_SET_FONT) {
        dlg.hasFont = true;
        dlg.pointSize = r.U16();
        if (dlg.extended) {
            dlg.weight = r.U16();
            dlg.italic = r.U8() != 0;
            dlg.charset = r.U8();
        }
        dlg.typeface = Utf16ToUtf8(r.Utf16z());
    }

    // The count comes from the data: items are read one by one, so a count larger than the
    // data ends in FormatError rather than a huge allocation.
    for (std::uint16_t i = 0; i < itemCount; ++i) {
        r.AlignTo4();
        dlg.items.push_back(dlg.extended ? ReadExItem(r) : ReadPlainItem(r));
    }
    return dlg;
}

}  // namespace afx::res
