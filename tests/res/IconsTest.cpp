// The two icons: language-neutral groups that lead with the 32x32 16-colour image of 744 bytes,
// followed by 32-bit images with alpha from 16 to 64 pixels and a 256-pixel PNG.
#include <algorithm>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "ResTestSupport.h"
#include "tests/res/IcoFile.h"
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
    std::uint16_t image;  // the 16-colour one; the group's other images follow it in id order
    const char* file;
};

const IconRow ICONS[] = {{130, 1, "Marlox.ico"}, {131, 10, "Protected.ico"}};

// The true-colour images after the 16-colour one, in group order; from 64 up they are PNGs.
const int TRUE_COLOUR_SIDES[] = {16, 20, 24, 32, 40, 48, 64, 256};
constexpr std::size_t IMAGES_PER_GROUP = 1 + std::size(TRUE_COLOUR_SIDES);

afx::res::IconGroup Group(std::uint16_t id) {
    return afx::res::ParseIconGroup(restest::Resource(rt::GROUP_ICON, id, LANG_NEUTRAL));
}

bool IsPng(afx::res::ByteView data) {
    static const std::uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return data.size > 24 && std::equal(SIGNATURE, SIGNATURE + 8, data.data);
}

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

void PrintTo(const IconRow& row, std::ostream* os) { *os << row.file; }

class Icons : public testing::TestWithParam<IconRow> {};

TEST_P(Icons, GroupLeadsWithTheSixteenColourImage) {
    const IconRow& row = GetParam();
    afx::res::IconGroup group = Group(row.group);
    EXPECT_EQ(group.type, 1);
    ASSERT_EQ(group.entries.size(), IMAGES_PER_GROUP);
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
        if (entry.type.ordinal == rt::ICON && entry.name.ordinal >= row.image &&
            entry.name.ordinal < row.image + IMAGES_PER_GROUP) {
            ++images;
            EXPECT_EQ(entry.language, LANG_NEUTRAL);
        }
    }
    EXPECT_EQ(groups, 1);
    EXPECT_EQ(images, static_cast<int>(IMAGES_PER_GROUP));
}

// Every size from 16 to 48 as a 32-bit image with alpha and mask, at 64 and 256 a PNG of the
// same picture; each entry of the group describes its image truly.
TEST_P(Icons, TrueColourImagesAtEverySize) {
    const IconRow& row = GetParam();
    afx::res::IconGroup group = Group(row.group);
    ASSERT_EQ(group.entries.size(), IMAGES_PER_GROUP);
    for (std::size_t i = 0; i < std::size(TRUE_COLOUR_SIDES); ++i) {
        const int side = TRUE_COLOUR_SIDES[i];
        const afx::res::IconGroupEntry& e = group.entries[i + 1];
        SCOPED_TRACE("side " + std::to_string(side));
        EXPECT_EQ(e.id, row.image + i + 1);
        EXPECT_EQ(e.width, side % 256);  // 0 stands for 256
        EXPECT_EQ(e.height, side % 256);
        EXPECT_EQ(e.colourCount, 0);
        EXPECT_EQ(e.planes, 1);
        EXPECT_EQ(e.bitCount, 32);
        afx::res::ByteView data = restest::Resource(rt::ICON, e.id, LANG_NEUTRAL);
        EXPECT_EQ(e.bytesInRes, data.size);
        if (side >= 64) {
            ASSERT_TRUE(IsPng(data));
            // IHDR: width, height, 8 bits per channel, colour type 6 (RGBA).
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data) + 12, 4), "IHDR");
            EXPECT_EQ(BigEndian32(data.data + 16), static_cast<std::uint32_t>(side));
            EXPECT_EQ(BigEndian32(data.data + 20), static_cast<std::uint32_t>(side));
            EXPECT_EQ(data.data[24], 8);
            EXPECT_EQ(data.data[25], 6);
            continue;
        }
        afx::res::IconImage image = afx::res::DecodeIconImage(data);
        EXPECT_EQ(image.header.bitCount, 32);
        ASSERT_EQ(image.width, side);
        ASSERT_EQ(image.height, side);
        // Transparent corners, a picture that covers a good part of the square, and smooth
        // edges: some pixels partly transparent.
        const std::size_t n = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
        EXPECT_EQ(image.argb[0] >> 24, 0u);
        EXPECT_EQ(image.argb[n - 1] >> 24, 0u);
        const auto opaque = std::count_if(image.argb.begin(), image.argb.end(),
                                          [](std::uint32_t p) { return p >> 24 == 0xFF; });
        const auto partial =
            std::count_if(image.argb.begin(), image.argb.end(),
                          [](std::uint32_t p) { return p >> 24 != 0 && p >> 24 != 0xFF; });
        EXPECT_GT(opaque, static_cast<long>(n / 8));
        EXPECT_LT(opaque, static_cast<long>(n * 3 / 4));
        EXPECT_GT(partial, side / 2);
    }
}

// The compiled icon, put back together as an .ico file, is the committed file byte for byte.
TEST_P(Icons, RoundTripsToTheSourceFile) {
    const IconRow& row = GetParam();
    const afx::res::ProgramResources japanese(restest::MarloxRes(), afx::res::LANG_JAPANESE);
    std::vector<std::uint8_t> ico = restest::IcoFile(japanese, row.group);
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

// The same pictures at every size: the 16-colour image and the 32-bit bitmaps from 32 pixels up
// (counts grow with the area).
TEST(Icons, PlugsAreGreyAndTheKeyIsYellowWithAGreyShadow) {
    const afx::res::IconGroup plugsGroup = Group(130);
    const afx::res::IconGroup keyGroup = Group(131);
    ASSERT_EQ(plugsGroup.entries.size(), keyGroup.entries.size());
    for (std::size_t i = 0; i < plugsGroup.entries.size(); ++i) {
        const int side = plugsGroup.entries[i].width;
        if (side < 32 || side >= 64) continue;  // from 64 up PNGs (0 stands for 256)
        SCOPED_TRACE("image " + std::to_string(i) + ", side " + std::to_string(side));
        afx::res::IconImage plugs = afx::res::DecodeIconImage(
            restest::Resource(rt::ICON, plugsGroup.entries[i].id, LANG_NEUTRAL));
        afx::res::IconImage key = afx::res::DecodeIconImage(
            restest::Resource(rt::ICON, keyGroup.entries[i].id, LANG_NEUTRAL));
        // Smooth edges take some pixels of each colour: the thresholds are below the
        // 16-colour image's counts, which have none.
        const double area = side * side / (32.0 * 32.0);
        EXPECT_GT(static_cast<double>(CountColour(plugs, LIGHT_GREY)), 100 * area);
        EXPECT_EQ(CountColour(plugs, YELLOW), 0u);
        EXPECT_GT(static_cast<double>(CountColour(key, YELLOW)), 60 * area);
        EXPECT_GT(static_cast<double>(CountColour(key, DARK_GREY)), 30 * area);
    }
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
