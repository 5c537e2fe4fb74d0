#include "afx/res/DialogTemplate.h"

namespace afx::res {

DialogTemplate ParseDialogTemplate(ByteView data) {
    ByteReader r(data);
    DialogTemplate dlg;
    // Version 1 and the 0xFFFF signature.
    dlg.extended = r.U16() == 1 && r.U16() == 0xFFFF;
    if (!dlg.extended) throw FormatError("not an extended dialog template");
    dlg.helpId = r.U32();
    dlg.exStyle = r.U32();
    dlg.style = r.U32();
    const std::uint16_t itemCount = r.U16();
    dlg.x = r.I16();
    dlg.y = r.I16();
    dlg.cx = r.I16();
    dlg.cy = r.I16();
    dlg.menu = r.ReadSzOrOrd();
    dlg.windowClass = r.ReadSzOrOrd();
    dlg.title = Utf16ToUtf8(r.Utf16z());
    if (dlg.style & 0x40) {  // DS_SETFONT
        dlg.hasFont = true;
        dlg.pointSize = r.U16();
        dlg.weight = r.U16();
        dlg.italic = r.U8() != 0;
        dlg.charset = r.U8();
        dlg.typeface = Utf16ToUtf8(r.Utf16z());
    }

    // The count comes from the data: items are read one by one, so a count larger than the
    // data ends in FormatError rather than a huge allocation.
    for (std::uint16_t i = 0; i < itemCount; ++i) {
        r.AlignTo4();
        DialogItem& item = dlg.items.emplace_back();
        item.helpId = r.U32();
        item.exStyle = r.U32();
        item.style = r.U32();
        item.x = r.I16();
        item.y = r.I16();
        item.cx = r.I16();
        item.cy = r.I16();
        item.id = static_cast<std::int32_t>(r.U32());
        item.windowClass = r.ReadSzOrOrd();
        item.title = r.ReadSzOrOrd();
        const ByteView extra = r.Take(r.U16());
        item.extra.assign(extra.data, extra.data + extra.size);
    }
    return dlg;
}

}  // namespace afx::res
