// The string block 101-108 in both languages, the reasons a port does not open, and string
// lookup by id and language.
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "ResTestSupport.h"
#include "afx/res/ProgramResources.h"
#include "res/resource.h"

namespace {

using afx::res::LANG_ENGLISH_US;
using afx::res::LANG_JAPANESE;
using afx::res::LoadString;

struct StringRow {
    int id;
    const char* english;
    const char* japanese;
};

const StringRow STRINGS[] = {
    {101, "About Marlox(&A)...", "バージョン情報 Marlox(&A)..."},
    {102, "New Drevik will not responce.\r\nthis is special commands for Legacy Drevik.",
     "旧型Drevik特有の照会コマンドで、\r\n新型Drevikは応答しません"},
    {103,
     "this is command set for the Tarvex.\r\nit is not communicatable Drevik if not respond this "
     "command.",
     "Tarvex用の照会コマンドで、\r\n応答しない場合は Tarvex非対応となります。"},
    {104, "Data Protection.\r\nMarlox shows 'No respond' when incompatible with Tarvex.",
     "「あり」の場合はDrevikのデーターにプロテクトがかかっています。\r\nTarvex非対応Drevikの場合、"
     "「応答なし」となります。"},
    {105, "No respond", "応答なし"},
    {106, "None", "なし"},
    {107, "Protected", "あり"},
    {108, "Can not open COM Port", "ポートが開けません"},
};

TEST(StringTable, SymbolsHaveTheirValues) {
    EXPECT_EQ(IDS_ABOUTBOX, 101);
    EXPECT_EQ(IDS_TIP_LEGACY, 102);
    EXPECT_EQ(IDS_TIP_TARVEX, 103);
    EXPECT_EQ(IDS_TIP_PROTECTION, 104);
    EXPECT_EQ(IDS_NO_RESPOND, 105);
    EXPECT_EQ(IDS_PROTECTION_NONE, 106);
    EXPECT_EQ(IDS_PROTECTION_ON, 107);
    EXPECT_EQ(IDS_CANNOT_OPEN_PORT, 108);
}

TEST(StringTable, EnglishTextsAreExact) {
    for (const StringRow& row : STRINGS)
        EXPECT_EQ(LoadString(restest::MarloxRes(), row.id, LANG_ENGLISH_US),
                  std::string(row.english))
            << row.id;
}

TEST(StringTable, JapaneseTextsAreExact) {
    for (const StringRow& row : STRINGS)
        EXPECT_EQ(LoadString(restest::MarloxRes(), row.id, LANG_JAPANESE),
                  std::string(row.japanese))
            << row.id;
}

// Ids 101-108 share one block (id / 16 + 1 = 7) and nothing else is in it; the reasons a port
// does not open (201-211) fill two blocks of their own.
TEST(StringTable, EachLanguageHoldsExactlyTheEightIds) {
    for (std::uint16_t language : {LANG_ENGLISH_US, LANG_JAPANESE}) {
        int blocks = 0;
        for (const afx::res::ResourceEntry& entry : restest::MarloxRes().Entries()) {
            if (entry.type.isOrdinal && entry.type.ordinal == afx::res::rt::STRING &&
                entry.language == language)
                ++blocks;
        }
        EXPECT_EQ(blocks, 3) << language;
        auto strings =
            afx::res::ParseStringBlock(restest::Resource(afx::res::rt::STRING, 7, language));
        for (std::size_t slot = 0; slot < strings.size(); ++slot) {
            const int id = 6 * 16 + static_cast<int>(slot);
            EXPECT_EQ(!strings[slot].empty(), id >= 101 && id <= 108)
                << "language " << language << " id " << id;
        }
    }
}

// Each reason a port does not open is worded in both languages, with the same inserts.
TEST(StringTable, OpenFailureReasonsInBothLanguages) {
    for (int id = IDS_OPEN_NO_DEVICE; id <= IDS_OPEN_SETTINGS_REFUSED; ++id) {
        const auto english = LoadString(restest::MarloxRes(), id, LANG_ENGLISH_US);
        const auto japanese = LoadString(restest::MarloxRes(), id, LANG_JAPANESE);
        ASSERT_TRUE(english && japanese) << id;
        EXPECT_NE(*english, *japanese) << id;
        for (const char* insert : {"%1", "%2"})
            EXPECT_EQ(english->find(insert) == std::string::npos,
                      japanese->find(insert) == std::string::npos)
                << id << " " << insert;
    }
}

// A user of any language but Japanese gets English; Japanese under any sublanguage gets Japanese.
TEST(StringTable, OtherLanguagesFallBackWithoutMixing) {
    const std::map<std::uint16_t, const char*> expected = {
        {0x0407, "No respond"},  // German
        {0x0809, "No respond"},  // English (United Kingdom)
        {0x0000, "No respond"},  // neutral
        {0x0011, "応答なし"},    // Japanese, neutral sublanguage
    };
    for (const auto& [language, text] : expected)
        EXPECT_EQ(LoadString(restest::MarloxRes(), IDS_NO_RESPOND, language), std::string(text))
            << language;
}

TEST(StringTable, MissingIdsGiveNothing) {
    EXPECT_FALSE(LoadString(restest::MarloxRes(), 100, LANG_ENGLISH_US)
                     .has_value());  // same block, empty slot
    EXPECT_FALSE(LoadString(restest::MarloxRes(), 109, LANG_JAPANESE).has_value());
    EXPECT_FALSE(
        LoadString(restest::MarloxRes(), 5000, LANG_ENGLISH_US).has_value());  // no such block
}

}  // namespace
