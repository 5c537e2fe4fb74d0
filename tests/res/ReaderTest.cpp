// The reader on its own: container inventory, language fall-back, text conversion and the user's
// language.
#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "ResTestSupport.h"
#include "afx/res/ProgramResources.h"
#include "res/MarloxResources.h"

namespace {

using afx::res::ResFile;
using restest::ResBuilder;
using Key = std::tuple<int, int, int>;  // type, id, language

TEST(ResFile, MarloxResHoldsExactlyTheExpectedResources) {
    std::vector<Key> found;
    for (const afx::res::ResourceEntry& entry : restest::MarloxRes().Entries()) {
        ASSERT_TRUE(entry.type.isOrdinal);
        ASSERT_TRUE(entry.name.isOrdinal);
        found.emplace_back(entry.type.ordinal, entry.name.ordinal, entry.language);
    }
    std::vector<Key> expected = {
        {14, 130, 0},    {14, 131, 0},    {24, 1, 0},                      // neutral
        {5, 100, 0x409}, {5, 102, 0x409}, {6, 7, 0x409},  {16, 1, 0x409},  // English
        {5, 100, 0x411}, {5, 102, 0x411}, {6, 7, 0x411},  {16, 1, 0x411},  // Japanese
        {6, 13, 0x409},  {6, 14, 0x409},  {6, 13, 0x411}, {6, 14, 0x411},  // open failures
    };
    for (int image = 1; image <= 18; ++image)  // nine images in each icon group
        expected.emplace_back(3, image, 0);
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
}

TEST(ResFile, EmbeddedBytesAreTheCompiledFile) {
    auto [data, size] = MarloxResources();
    EXPECT_EQ(std::vector<std::uint8_t>(data, data + size), restest::MarloxResBytes());
}

TEST(ResFile, RecordFieldsAndDataAreRead) {
    ResBuilder b;
    b.Add(5, 7, 0x0409, {1, 2, 3}).Add(6, 8, 0x0411, {4, 5, 6, 7, 8});
    ResFile file(b.Data().data(), b.Data().size());
    ASSERT_EQ(file.Entries().size(), 2u);
    const afx::res::ResourceEntry& second = file.Entries()[1];
    EXPECT_EQ(second.type.ordinal, 6);
    EXPECT_EQ(second.name.ordinal, 8);
    EXPECT_EQ(second.language, 0x0411);
    EXPECT_EQ(second.memoryFlags, 0x1030);
    EXPECT_EQ(std::vector<std::uint8_t>(second.data.data, second.data.data + second.data.size),
              (std::vector<std::uint8_t>{4, 5, 6, 7, 8}));
}

TEST(ResFile, StaysValidAfterAMove) {
    ResBuilder b;
    b.Add(5, 7, 0x0409, {9, 8, 7});
    ResFile first(b.Data().data(), b.Data().size());
    ResFile moved(std::move(first));
    const afx::res::ResourceEntry* entry = moved.Find(5, 7, 0x0409);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->data.data[0], 9);
}

int FoundLanguage(const ResFile& file, std::uint16_t language) {
    const afx::res::ResourceEntry* entry = file.Find(5, 1, language);
    return entry == nullptr ? -1 : entry->language;
}

TEST(ResFile, LookupFallsBackInTheLoadersOrder) {
    std::vector<std::uint8_t> data{0};
    ResBuilder all;
    all.Add(5, 1, 0x0409, data)
        .Add(5, 1, 0x0000, data)
        .Add(5, 1, 0x0411, data)
        .Add(5, 1, 0x0011, data);
    ResFile full(all.Data().data(), all.Data().size());
    EXPECT_EQ(FoundLanguage(full, 0x0411), 0x0411);  // exact
    EXPECT_EQ(FoundLanguage(full, 0x0811), 0x0011);  // primary language, neutral sublanguage
    EXPECT_EQ(FoundLanguage(full, 0x0407), 0x0000);  // language-neutral before English
    EXPECT_EQ(FoundLanguage(full, 0x0409), 0x0409);

    ResBuilder pair;
    pair.Add(5, 1, 0x0411, data).Add(5, 1, 0x0409, data);
    ResFile two(pair.Data().data(), pair.Data().size());
    EXPECT_EQ(FoundLanguage(two, 0x0811), 0x0411);  // primary language, default sublanguage
    EXPECT_EQ(FoundLanguage(two, 0x0407), 0x0409);  // English for everyone else
    EXPECT_EQ(FoundLanguage(two, 0x0000), 0x0409);

    ResBuilder french;
    french.Add(5, 1, 0x040C, data).Add(6, 2, 0x0409, data);
    ResFile other(french.Data().data(), french.Data().size());
    EXPECT_EQ(FoundLanguage(other, 0x0407), 0x040C);  // any language at last
    EXPECT_EQ(other.Find(6, 1, 0x0409), nullptr);     // the id must match
    EXPECT_EQ(other.Find(5, 2, 0x0409), nullptr);     // and the type
}

TEST(Utf, ConvertsBmpSurrogatePairsAndLoneSurrogates) {
    EXPECT_EQ(afx::res::Utf16ToUtf8(u"A\u00e9\u5fdc"), "A\xC3\xA9\xE5\xBF\x9C");
    EXPECT_EQ(afx::res::Utf16ToUtf8(u"\U0001F50C"), "\xF0\x9F\x94\x8C");
    EXPECT_EQ(afx::res::Utf16ToUtf8(std::u16string{0xD83D, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(afx::res::Utf16ToUtf8(std::u16string{0xDC00}), "\xEF\xBF\xBD");
}

TEST(Language, JapaneseOnlyForAJapaneseLocale) {
    for (const char* ja : {"ja_JP.UTF-8", "ja_JP", "ja", "ja.eucJP", "ja_JP@cjk"})
        EXPECT_EQ(afx::res::LanguageFromLocale(ja), afx::res::LANG_JAPANESE) << ja;
    for (const char* other : {"en_US.UTF-8", "C", "POSIX", "", "de_DE", "jam_JM", "C.UTF-8"})
        EXPECT_EQ(afx::res::LanguageFromLocale(other), afx::res::LANG_ENGLISH_US) << other;
}

// Restores the three locale variables after each test.
class UserLanguage : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : NAMES) {
            const char* value = std::getenv(name);
            m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name, value->c_str(), 1);
            else
                unsetenv(name);
        }
    }
    static constexpr const char* NAMES[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

TEST_F(UserLanguage, FollowsLcAllThenLcMessagesThenLang) {
    EXPECT_EQ(afx::res::UserLanguage(), afx::res::LANG_ENGLISH_US);
    setenv("LANG", "ja_JP.UTF-8", 1);
    EXPECT_EQ(afx::res::UserLanguage(), afx::res::LANG_JAPANESE);
    setenv("LC_MESSAGES", "en_GB.UTF-8", 1);
    EXPECT_EQ(afx::res::UserLanguage(), afx::res::LANG_ENGLISH_US);
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    EXPECT_EQ(afx::res::UserLanguage(), afx::res::LANG_JAPANESE);
    setenv("LC_ALL", "", 1);  // set but empty counts as unset
    EXPECT_EQ(afx::res::UserLanguage(), afx::res::LANG_ENGLISH_US);
}

}  // namespace
