// The two icons: language-neutral groups of one 32x32 16-colour image of 744 bytes each.
#include <algorithm>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "ResTestSupport.h"
#include "afx/res/DialogTemplate.h"
#include "afx/res/IconGroup.h"
#include "res/resource.h"

namespace {

using afx::res::LANG_NEUTRAL;
namespace rt = afx::res::rt;

// black, dark red, dark green, dark yellow, dark blue, dark magenta, dark cyan, light grey,
// dark grey, red, green, yellow, blue, magenta, cyan, white
const std::uint32_t STANDARD_PALETTE[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};
constexpr std::uint32_t YELLOW = 0xFFFFFF00;
constexpr std::uint32_t DARK_GREY = 0xFF808080;
constexpr std::uint32_t LIGHT_GREY = 0xFFC0C0C0;

struct IconRow {
    std::uint16_t group;
    std::uint16_t image;
    const char* file;
};

const IconRow ICONS[] = {{130, 1, "Marlox.ico"}, {131, 2, "Protected.ico"}};

void PrintTo(const IconRow& row, std::ostream* os) { *os << row.file; }

class Icons : public testing::TestWithParam<IconRow> {};

TEST_P(Icons, GroupNamesOneImageOfTheRightFormat) {
    const IconRow& row = GetParam();
    afx::res::IconGroup group =
        afx::res::ParseIconGroup(restest::Resource(rt::GROUP_ICON, row.group, LANG_NEUTRAL));
    EXPECT_EQ(group.type, 1);
    ASSERT_EQ(group.entries.size(), 1u);
    const afx::res::IconGroupEntry& e = group.entries[0];
    EXPECT_EQ(e.width, 32);
    EXPECT_EQ(e.height, 32);
    EXPECT_EQ(e.colourCount, 16);
    EXPECT_EQ(e.reserved, 0);
    EXPECT_EQ(e.planes, 1);
    EXPECT_EQ(e.bitCount, 4);
    EXPECT_EQ(e.bytesInRes, 744u);
    EXPECT_EQ(e.id, row.image);
}

TEST_P(Icons, ImageIsA744ByteBitmapWithTheStandardPalette) {
    const IconRow& row = GetParam();
    afx::res::ByteView data = restest::Resource(rt::ICON, row.image, LANG_NEUTRAL);
    EXPECT_EQ(data.size, 744u);
    afx::res::IconImage image = afx::res::DecodeIconImage(data);
    const afx::res::BitmapInfoHeader& h = image.header;
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.width, 32);
    EXPECT_EQ(h.height, 64);
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.bitCount, 4);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.sizeImage, 512u);
    EXPECT_EQ(h.clrUsed, 16u);
    EXPECT_EQ(h.clrImportant, 16u);
    ASSERT_EQ(image.palette.size(), 16u);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(image.palette[i], STANDARD_PALETTE[i]) << "palette entry " << i;
}

TEST_P(Icons, ExistOnlyAsLanguageNeutral) {
    const IconRow& row = GetParam();
    int groups = 0;
    int images = 0;
    for (const afx::res::ResourceEntry& entry : restest::MarloxRes().Entries()) {
        if (!entry.type.isOrdinal || !entry.name.isOrdinal) continue;
        if (entry.type.ordinal == rt::GROUP_ICON && entry.name.ordinal == row.group) {
            ++groups;
            EXPECT_EQ(entry.language, LANG_NEUTRAL);
        }
        if (entry.type.ordinal == rt::ICON && entry.name.ordinal == row.image) {
            ++images;
            EXPECT_EQ(entry.language, LANG_NEUTRAL);
        }
    }
    EXPECT_EQ(groups, 1);
    EXPECT_EQ(images, 1);
}

// The compiled icon, put back together as an .ico file, is the committed file byte for byte.
TEST_P(Icons, RoundTripsToTheSourceFile) {
    const IconRow& row = GetParam();
    std::vector<std::uint8_t> ico =
        afx::res::BuildIcoFile(restest::MarloxRes(), row.group, afx::res::LANG_JAPANESE);
    EXPECT_EQ(ico, restest::ReadBytes(std::string(MARLOX_RES_SOURCE_DIR) + "/" + row.file));
}

TEST_P(Icons, BackgroundIsTransparent) {
    afx::res::IconImage image =
        afx::res::DecodeIconImage(restest::Resource(rt::ICON, GetParam().image, LANG_NEUTRAL));
    ASSERT_EQ(image.argb.size(), 32u * 32u);
    for (std::size_t corner : {0u, 31u, 32u * 31u, 32u * 32u - 1u})
        EXPECT_EQ(image.argb[corner], 0u) << "corner pixel " << corner;
    auto opaque = std::count_if(image.argb.begin(), image.argb.end(),
                                [](std::uint32_t p) { return p >> 24 != 0; });
    EXPECT_GT(opaque, 32 * 32 / 8);
    EXPECT_LT(opaque, 32 * 32 * 3 / 4);
}

INSTANTIATE_TEST_SUITE_P(BothIcons, Icons, testing::ValuesIn(ICONS),
                         [](const testing::TestParamInfo<IconRow>& info) {
                             return std::to_string(info.param.group);
                         });

std::size_t CountColour(const afx::res::IconImage& image, std::uint32_t argb) {
    return static_cast<std::size_t>(std::count(image.argb.begin(), image.argb.end(), argb));
}

TEST(Icons, PlugsAreGreyAndTheKeyIsYellowWithAGreyShadow) {
    afx::res::IconImage plugs =
        afx::res::DecodeIconImage(restest::Resource(rt::ICON, 1, LANG_NEUTRAL));
    afx::res::IconImage key =
        afx::res::DecodeIconImage(restest::Resource(rt::ICON, 2, LANG_NEUTRAL));
    EXPECT_GT(CountColour(plugs, LIGHT_GREY), 100u);
    EXPECT_EQ(CountColour(plugs, YELLOW), 0u);
    EXPECT_GT(CountColour(key, YELLOW), 100u);
    EXPECT_GT(CountColour(key, DARK_GREY), 30u);
}

// Every icon control of both templates names an icon group that exists.
TEST(Icons, IconControlsNameExistingIcons) {
    int iconControls = 0;
    for (const afx::res::ResourceEntry& entry : restest::MarloxRes().Entries()) {
        if (!entry.type.isOrdinal || entry.type.ordinal != rt::DIALOG) continue;
        for (const afx::res::DialogItem& item : afx::res::ParseDialogTemplate(entry.data).items) {
            if ((item.style & 0x1F) != 3 || item.windowClass.ordinal != afx::res::cls::STATIC)
                continue;
            ++iconControls;
            ASSERT_TRUE(item.title.isOrdinal);
            EXPECT_NE(restest::MarloxRes().Find(rt::GROUP_ICON, item.title.ordinal, entry.language),
                      nullptr);
        }
    }
    EXPECT_EQ(iconControls, 4);  // two dialogs in two languages, one icon each
}

}  // namespace
