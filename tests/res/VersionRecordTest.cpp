// The version record in both languages: numbers, string block and its keys in order.
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ResTestSupport.h"
#include "tests/res/VersionInfo.h"

namespace {

using afx::res::VersionInfo;
using afx::res::VersionNode;

struct VersionLanguage {
    std::uint16_t language;
    const char* name;
    const char* block;                      // language and code page, in hex
    std::vector<std::uint8_t> translation;  // the same pair as two little-endian words
};

const VersionLanguage VERSION_LANGUAGES[] = {
    {afx::res::LANG_ENGLISH_US, "English", "00000000", {0x00, 0x00, 0x00, 0x00}},
    {afx::res::LANG_JAPANESE, "Japanese", "041103a4", {0x11, 0x04, 0xA4, 0x03}},  // 1041, 932
};

void PrintTo(const VersionLanguage& language, std::ostream* os) { *os << language.name; }

class VersionRecord : public testing::TestWithParam<VersionLanguage> {
protected:
    VersionInfo Parse() const {
        return afx::res::ParseVersionInfo(
            restest::Resource(afx::res::rt::VERSION, 1, GetParam().language));
    }
};

TEST_P(VersionRecord, FixedPartIsVersion1006ForAWindowsApplication) {
    VersionInfo info = Parse();
    EXPECT_EQ(info.root.key, "VS_VERSION_INFO");
    EXPECT_EQ(info.fixed.fileVersionMS, 0x00010000u);
    EXPECT_EQ(info.fixed.fileVersionLS, 0x00000006u);
    EXPECT_EQ(info.fixed.productVersionMS, 0x00010000u);
    EXPECT_EQ(info.fixed.productVersionLS, 0x00000006u);
    EXPECT_EQ(info.fixed.fileFlagsMask, 0x3Fu);
    EXPECT_EQ(info.fixed.fileFlags, 0u);
    EXPECT_EQ(info.fixed.fileOS, 4u);    // 32-bit Windows
    EXPECT_EQ(info.fixed.fileType, 1u);  // application
    EXPECT_EQ(info.fixed.fileSubtype, 0u);
}

TEST_P(VersionRecord, OneStringBlockWithTheKeysInOrder) {
    VersionInfo info = Parse();
    const VersionNode* strings = info.root.Child("StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u);
    const VersionNode& block = strings->children[0];
    EXPECT_EQ(block.key, GetParam().block);

    const std::vector<std::string> keys = {"CompanyName",  "FileDescription", "FileVersion",
                                           "InternalName", "LegalCopyright",  "OriginalFilename",
                                           "ProductName",  "ProductVersion"};
    ASSERT_EQ(block.children.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(block.children[i].key, keys[i]);
        EXPECT_TRUE(block.children[i].isText) << keys[i];
        EXPECT_FALSE(block.children[i].text.empty()) << keys[i];
    }
    EXPECT_EQ(block.Child("FileVersion")->text, "1.0.0.6");
    EXPECT_EQ(block.Child("InternalName")->text, "Marlox.exe");
    EXPECT_EQ(block.Child("OriginalFilename")->text, "Marlox.exe");
    EXPECT_EQ(block.Child("ProductName")->text, "Marlox");
    EXPECT_EQ(block.Child("ProductVersion")->text, "1.0.0.6");
}

TEST_P(VersionRecord, TranslationMatchesTheBlock) {
    VersionInfo info = Parse();
    const VersionNode* var = info.root.Child("VarFileInfo");
    ASSERT_NE(var, nullptr);
    const VersionNode* translation = var->Child("Translation");
    ASSERT_NE(translation, nullptr);
    EXPECT_FALSE(translation->isText);
    EXPECT_EQ(translation->value, GetParam().translation);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, VersionRecord, testing::ValuesIn(VERSION_LANGUAGES),
                         [](const testing::TestParamInfo<VersionLanguage>& info) {
                             return std::string(info.param.name);
                         });

TEST(VersionRecord, ExistsInExactlyTheTwoLanguages) {
    std::vector<std::uint16_t> languages;
    for (const afx::res::ResourceEntry& entry : restest::MarloxRes().Entries()) {
        if (entry.type.isOrdinal && entry.type.ordinal == afx::res::rt::VERSION)
            languages.push_back(entry.language);
    }
    EXPECT_EQ(languages,
              (std::vector<std::uint16_t>{afx::res::LANG_ENGLISH_US, afx::res::LANG_JAPANESE}));
}

}  // namespace
