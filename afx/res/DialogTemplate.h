// A dialog template (DLGTEMPLATEEX, or the plain DLGTEMPLATE) as a plain record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "afx/res/ByteView.h"

namespace afx::res {

// Predefined window classes by ordinal.
namespace cls {
constexpr std::uint16_t kButton = 0x0080;
constexpr std::uint16_t kEdit = 0x0081;
constexpr std::uint16_t kStatic = 0x0082;
constexpr std::uint16_t kListBox = 0x0083;
constexpr std::uint16_t kScrollBar = 0x0084;
constexpr std::uint16_t kComboBox = 0x0085;
}  // namespace cls

struct DialogItem {
    std::uint32_t helpId = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::int32_t id = 0;  // -1 for controls no code addresses
    SzOrOrd windowClass;  // ordinal (cls::) or class name
    SzOrOrd title;        // text, or an ordinal resource id (the icon of an SS_ICON static)
    std::vector<std::uint8_t> extra;  // creation data
};

struct DialogTemplate {
    bool extended = false;  // DLGTEMPLATEEX
    std::uint32_t helpId = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    SzOrOrd menu;
    SzOrOrd windowClass;
    std::string title;
    bool hasFont = false;  // DS_SETFONT
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0;  // extended templates only
    bool italic = false;       // extended templates only
    std::uint8_t charset = 0;  // extended templates only
    std::string typeface;
    std::vector<DialogItem> items;  // template order
};

// Throws FormatError on malformed or truncated data.
DialogTemplate ParseDialogTemplate(ByteView data);

}  // namespace afx::res
