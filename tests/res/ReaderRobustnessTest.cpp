// Truncated and corrupt input is rejected with FormatError and never read past its end.
// Every case parses from a buffer of exactly the data's size, so a sanitizer build sees
// any read beyond it.
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "ResTestSupport.h"
#include "afx/res/DialogTemplate.h"
#include "afx/res/IconGroup.h"
#include "afx/res/ProgramResources.h"
#include "tests/res/VersionInfo.h"

namespace {

using afx::res::ByteView;
using afx::res::FormatError;
namespace rt = afx::res::rt;

using Parser = std::function<void(ByteView)>;

struct Kind {
    const char* name;
    std::uint16_t type;
    std::uint16_t id;
    std::uint16_t language;
    Parser parse;
};

const Kind KINDS[] = {
    {"dialog", rt::DIALOG, 102, afx::res::LANG_JAPANESE,
     [](ByteView d) { afx::res::ParseDialogTemplate(d); }},
    {"about", rt::DIALOG, 100, afx::res::LANG_ENGLISH_US,
     [](ByteView d) { afx::res::ParseDialogTemplate(d); }},
    {"strings", rt::STRING, 7, afx::res::LANG_JAPANESE,
     [](ByteView d) { afx::res::ParseStringBlock(d); }},
    {"icon group", rt::GROUP_ICON, 131, afx::res::LANG_NEUTRAL,
     [](ByteView d) { afx::res::ParseIconGroup(d); }},
    {"icon image", rt::ICON, 2, afx::res::LANG_NEUTRAL,
     [](ByteView d) { afx::res::DecodeIconImage(d); }},
    {"version", rt::VERSION, 1, afx::res::LANG_JAPANESE,
     [](ByteView d) { afx::res::ParseVersionInfo(d); }},
};

std::vector<std::uint8_t> Bytes(const Kind& kind) {
    ByteView data = restest::Resource(kind.type, kind.id, kind.language);
    return {data.data, data.data + data.size};
}

// A heap block of exactly the given bytes.
ByteView Exact(const std::vector<std::uint8_t>& bytes, std::unique_ptr<std::uint8_t[]>& holder) {
    holder = std::make_unique<std::uint8_t[]>(bytes.size() + (bytes.empty() ? 1 : 0));
    std::copy(bytes.begin(), bytes.end(), holder.get());
    return {holder.get(), bytes.size()};
}

TEST(ReaderRobustness, EveryTruncatedResourceIsRejected) {
    for (const Kind& kind : KINDS) {
        std::vector<std::uint8_t> full = Bytes(kind);
        ASSERT_FALSE(full.empty()) << kind.name;
        for (std::size_t length = 0; length < full.size(); ++length) {
            std::unique_ptr<std::uint8_t[]> holder;
            ByteView cut =
                Exact({full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length)}, holder);
            EXPECT_THROW(kind.parse(cut), FormatError)
                << kind.name << " cut to " << length << " bytes";
        }
    }
}

// A .res cut short either loses whole records or is rejected; what it keeps is the same.
TEST(ReaderRobustness, TruncatedResFileKeepsOnlyWholeRecords) {
    const std::vector<std::uint8_t>& full = restest::MarloxResBytes();
    const auto& all = restest::MarloxRes().Entries();
    int accepted = 0;
    for (std::size_t length = 0; length < full.size(); ++length) {
        std::unique_ptr<std::uint8_t[]> holder;
        ByteView cut =
            Exact({full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length)}, holder);
        try {
            afx::res::ResFile file(cut.data, cut.size);
            ++accepted;
            ASSERT_LT(file.Entries().size(), all.size());
            for (std::size_t i = 0; i < file.Entries().size(); ++i)
                EXPECT_EQ(file.Entries()[i].data.size, all[i].data.size);
        } catch (const FormatError&) {
        }
    }
    // Only the cuts at record ends (before any padding) can stand.
    EXPECT_LE(accepted, static_cast<int>(2 * all.size()));
}

TEST(ReaderRobustness, CorruptContainersAreRejected) {
    auto parse = [](std::vector<std::uint8_t> bytes) {
        std::unique_ptr<std::uint8_t[]> holder;
        ByteView view = Exact(bytes, holder);
        afx::res::ResFile file(view.data, view.size);
    };
    std::vector<std::uint8_t> good = restest::ResBuilder().Add(5, 1, 0x409, {1, 2, 3, 4}).Data();
    EXPECT_NO_THROW(parse(good));

    EXPECT_THROW(afx::res::ResFile(nullptr, 0), FormatError);
    std::vector<std::uint8_t> noMarker(good.begin() + 32, good.end());  // 16-bit files lack it
    EXPECT_THROW(parse(noMarker), FormatError);
    std::vector<std::uint8_t> hugeData = good;
    hugeData[32 + 3] = 0x7F;  // data size
    EXPECT_THROW(parse(hugeData), FormatError);
    std::vector<std::uint8_t> hugeHeader = good;
    hugeHeader[32 + 6] = 0x01;  // header size 0x10020
    EXPECT_THROW(parse(hugeHeader), FormatError);
    std::vector<std::uint8_t> tinyHeader = good;
    tinyHeader[32 + 4] = 12;  // too small for type, name and the fixed fields
    EXPECT_THROW(parse(tinyHeader), FormatError);
    std::vector<std::uint8_t> unterminatedName = good;
    unterminatedName[32 + 8] = 'A';  // type becomes a string running to the header's end
    unterminatedName[32 + 9] = 0;
    EXPECT_THROW(parse(unterminatedName), FormatError);
    std::vector<std::uint8_t> trailingZeros = good;
    trailingZeros.insert(trailingZeros.end(), 8, 0);
    EXPECT_THROW(parse(trailingZeros), FormatError);
}

void ExpectRejected(const Kind& kind, std::vector<std::uint8_t> bytes, const char* what) {
    std::unique_ptr<std::uint8_t[]> holder;
    EXPECT_THROW(kind.parse(Exact(bytes, holder)), FormatError) << kind.name << ": " << what;
}

TEST(ReaderRobustness, CorruptFieldsAreRejected) {
    const Kind& dialog = KINDS[0];
    std::vector<std::uint8_t> d = Bytes(dialog);
    d[16] = 0xFF;  // item count 16 -> 255
    ExpectRejected(dialog, d, "item count beyond the data");

    const Kind& strings = KINDS[2];
    std::vector<std::uint8_t> s = Bytes(strings);
    s[0] = 0xFF;  // slot 0 claims 255 characters
    s[1] = 0x7F;
    ExpectRejected(strings, s, "string longer than the block");

    const Kind& group = KINDS[3];
    std::vector<std::uint8_t> g = Bytes(group);
    g[4] = 200;  // 200 entries in a 20-byte group
    ExpectRejected(group, g, "entry count beyond the data");
    g = Bytes(group);
    g[0] = 1;
    ExpectRejected(group, g, "reserved field set");

    const Kind& image = KINDS[4];
    std::vector<std::uint8_t> i = Bytes(image);
    i[32] = 2;  // clrUsed 2: most pixels index past the palette
    ExpectRejected(image, i, "palette index out of range");
    i = Bytes(image);
    i[14] = 3;  // 3 bits per pixel
    ExpectRejected(image, i, "bits per pixel");
    i = Bytes(image);
    i[16] = 1;  // BI_RLE8
    ExpectRejected(image, i, "compression");
    i = Bytes(image);
    i[8] = 0;  // height 0
    ExpectRejected(image, i, "height");
    i = Bytes(image);
    i[4] = 0x00;  // width 0x100000 in a 744-byte image
    i[6] = 0x10;
    ExpectRejected(image, i, "width");
    i = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    i.resize(64, 0);
    ExpectRejected(image, i, "PNG image");

    const Kind& version = KINDS[5];
    std::vector<std::uint8_t> v = Bytes(version);
    v[0] = 0xFF;  // root longer than the data
    v[1] = 0xFF;
    ExpectRejected(version, v, "root length");
    v = Bytes(version);
    v[2] = 8;  // fixed part of 8 bytes instead of 52
    ExpectRejected(version, v, "fixed part size");
    v = Bytes(version);
    v[40] = 0;  // signature
    ExpectRejected(version, v, "signature");
    v = Bytes(version);
    v[92] = 2;  // first child ("StringFileInfo") 2 bytes long
    v[93] = 0;
    ExpectRejected(version, v, "child length");
}

// Random damage: any outcome but FormatError or a parsed result is a fault.
TEST(ReaderRobustness, RandomlyDamagedResourcesNeverEscapeAsOtherFailures) {
    std::mt19937 random(20260107);
    for (const Kind& kind : KINDS) {
        const std::vector<std::uint8_t> full = Bytes(kind);
        std::uniform_int_distribution<std::size_t> position(0, full.size() - 1);
        std::uniform_int_distribution<int> byte(0, 255);
        for (int round = 0; round < 1500; ++round) {
            std::vector<std::uint8_t> damaged = full;
            for (int flips = 1 + round % 4; flips > 0; --flips)
                damaged[position(random)] = static_cast<std::uint8_t>(byte(random));
            std::unique_ptr<std::uint8_t[]> holder;
            ByteView view = Exact(damaged, holder);
            try {
                kind.parse(view);
            } catch (const FormatError&) {
            } catch (const std::exception& e) {
                ADD_FAILURE() << kind.name << ": " << e.what();
            }
        }
    }
}

}  // namespace
