// A dialog template as a plain record. The resource compiler writes DIALOGEX statements, the only
// ones in the program's resources, as DLGTEMPLATEEX, the one form read here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "afx/res/ByteView.h"

namespace afx::res {

// Predefined window classes by ordinal.
namespace cls {
constexpr std::uint16_t BUTTON = 0x0080;
constexpr std::uint16_t STATIC = 0x0082;
constexpr std::uint16_t COMBOBOX = 0x0085;
}  // namespace cls

// The style bits of templates and their items that a toolkit building the dialog itself needs,
// with the values the window system gives them.
namespace style {
constexpr std::uint32_t TABSTOP = 0x00010000;
constexpr std::uint32_t SYSMENU = 0x00080000;
constexpr std::uint32_t DISABLED = 0x08000000;
constexpr std::uint32_t VISIBLE = 0x10000000;
constexpr std::uint32_t EX_STATICEDGE = 0x00020000;
constexpr std::uint32_t BUTTON_TYPE_MASK = 0x0000000F;
constexpr std::uint32_t BUTTON_DEFPUSHBUTTON = 0x00000001;
constexpr std::uint32_t STATIC_TYPE_MASK = 0x0000001F;
constexpr std::uint32_t STATIC_CENTER = 0x00000001;
constexpr std::uint32_t STATIC_RIGHT = 0x00000002;
constexpr std::uint32_t STATIC_ICON = 0x00000003;
constexpr std::uint32_t STATIC_NOPREFIX = 0x00000080;
constexpr std::uint32_t STATIC_CENTERIMAGE = 0x00000200;
}  // namespace style

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
    bool extended = false;  // DLGTEMPLATEEX: always, once read
    std::uint32_t helpId = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    SzOrOrd menu;
    SzOrOrd windowClass;
    std::string title;
    bool hasFont = false;  // DS_SETFONT
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0;
    bool italic = false;
    std::uint8_t charset = 0;
    std::string typeface;
    std::vector<DialogItem> items;  // template order
};

// Throws FormatError on malformed or truncated data, and on a plain DLGTEMPLATE.
DialogTemplate ParseDialogTemplate(ByteView data);

}  // namespace afx::res
