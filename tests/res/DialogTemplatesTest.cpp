// Both dialog templates in both languages, control by control, against the layout tables.
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ResTestSupport.h"
#include "afx/Types.h"
#include "afx/res/DialogTemplate.h"
#include "res/resource.h"

namespace {

using afx::res::DialogItem;
using afx::res::DialogTemplate;
using afx::res::LANG_ENGLISH_US;
using afx::res::LANG_JAPANESE;
namespace cls = afx::res::cls;

struct Rect {
    int x, y, cx, cy;
};

struct Kind {
    std::uint16_t windowClass;
    std::uint32_t style;
    std::uint32_t exStyle;
};

const Kind HIDDEN_BUTTON{cls::BUTTON, 0x40010000, 0};
const Kind DROP_DOWN{cls::COMBOBOX, 0x50210103, 0};
const Kind LABEL{cls::STATIC, 0x50020002, 0};
const Kind RESULT_FIELD{cls::STATIC, 0x50020300, 0x00020000};
const Kind DEFAULT_BUTTON{cls::BUTTON, 0x50010001, 0};
const Kind HIDDEN_ICON{cls::STATIC, 0x40000003, 0};

// An icon control names its icon by number instead of a text.
struct Text {
    Text(const char* t) : text(t) {}
    Text(int icon) : iconId(icon) {}
    std::string text;
    int iconId = 0;
};

struct TesterRow {
    int id;
    Kind kind;
    Text english;
    Rect englishRect;
    Text japanese;
    Rect japaneseRect;
};

const std::vector<TesterRow> TESTER_CONTROLS = {
    {1, HIDDEN_BUTTON, "OK", {200, 66, 35, 11}, "OK", {169, 66, 35, 11}},
    {2, HIDDEN_BUTTON, "Cancel", {200, 7, 35, 11}, "Cancel", {169, 7, 35, 11}},
    {1000, DROP_DOWN, "", {69, 7, 111, 14}, "", {43, 7, 111, 14}},
    {-1, LABEL, "COM Port", {31, 9, 31, 8}, "通信ポート", {7, 11, 31, 8}},
    {-1,
     LABEL,
     "Tarvex ENGINECODE Inquery",
     {7, 29, 111, 8},
     "Tarvex エンジンコード照会",
     {7, 29, 81, 8}},
    {-1, LABEL, "Tarvex Version Inquery", {7, 43, 111, 8}, "Tarvex バージョン照会", {7, 43, 81, 8}},
    {1004, RESULT_FIELD, "", {125, 28, 55, 10}, "", {98, 28, 55, 11}},
    {1005, RESULT_FIELD, "", {125, 41, 55, 11}, "", {98, 41, 55, 11}},
    {1001, DEFAULT_BUTTON, "TEST", {188, 79, 47, 16}, "テスト", {157, 79, 47, 16}},
    {-1, LABEL, "Data Protection", {7, 57, 111, 8}, "データープロテクト", {7, 57, 81, 8}},
    {1006, RESULT_FIELD, "", {125, 55, 55, 11}, "", {98, 55, 55, 11}},
    {1007, HIDDEN_ICON, 131, {200, 54, 18, 17}, 131, {172, 27, 20, 20}},
    {-1,
     LABEL,
     "Legacy Drevik ENGINECODE Inquery",
     {7, 71, 111, 8},
     "旧型Drevik エンジンコード照会",
     {7, 71, 81, 8}},
    {-1,
     LABEL,
     "Legacy Drevik Version Inquery",
     {7, 85, 112, 8},
     "旧型Drevik バージョン照会",
     {7, 85, 81, 8}},
    {1003, RESULT_FIELD, "", {125, 83, 55, 11}, "", {98, 83, 55, 11}},
    {1002, RESULT_FIELD, "", {125, 69, 55, 11}, "", {98, 69, 55, 11}},
};

struct DialogExpectation {
    const char* title;
    const char* face;
    std::uint16_t weight;
    std::uint8_t charset;
    int cx, cy;
    std::uint32_t style;
    std::uint32_t exStyle;
};

struct Language {
    std::uint16_t id;
    const char* name;
    DialogExpectation tester;
    DialogExpectation about;
};

const Language LANGUAGES[] = {
    {LANG_ENGLISH_US,
     "English",
     {"Marlox", "Arial", 400, 0, 242, 102, 0x80C80040, 0x00040000},
     {"About Marlox", "Arial", 0, 1, 235, 55, 0x80C800C0, 0}},
    {LANG_JAPANESE,
     "Japanese",
     {"Marlox", "MS UI Gothic", 0, 1, 211, 102, 0x80C80040, 0x00040000},
     {"バージョン情報 Marlox", "MS UI Gothic", 0, 1, 235, 55, 0x80C800C0, 0}},
};

void PrintTo(const Language& language, std::ostream* os) { *os << language.name; }

DialogTemplate Parse(std::uint16_t id, std::uint16_t language) {
    return afx::res::ParseDialogTemplate(restest::Resource(afx::res::rt::DIALOG, id, language));
}

void ExpectDialog(const DialogTemplate& dlg, const DialogExpectation& e) {
    EXPECT_TRUE(dlg.extended);
    EXPECT_EQ(dlg.title, e.title);
    EXPECT_EQ(dlg.style, e.style) << std::hex << "0x" << dlg.style;
    EXPECT_EQ(dlg.exStyle, e.exStyle) << std::hex << "0x" << dlg.exStyle;
    EXPECT_EQ(dlg.helpId, 0u);
    EXPECT_EQ(dlg.x, 0);
    EXPECT_EQ(dlg.y, 0);
    EXPECT_EQ(dlg.cx, e.cx);
    EXPECT_EQ(dlg.cy, e.cy);
    EXPECT_FALSE(dlg.menu.isOrdinal);
    EXPECT_EQ(dlg.menu.text, "");
    EXPECT_FALSE(dlg.windowClass.isOrdinal);
    EXPECT_EQ(dlg.windowClass.text, "");
    ASSERT_TRUE(dlg.hasFont);
    EXPECT_EQ(dlg.typeface, e.face);
    EXPECT_EQ(dlg.pointSize, 9);
    EXPECT_EQ(dlg.weight, e.weight);
    EXPECT_FALSE(dlg.italic);
    EXPECT_EQ(dlg.charset, e.charset);
}

void ExpectItem(const DialogItem& item, int id, const Kind& kind, const Text& text, const Rect& r) {
    EXPECT_EQ(item.id, id);
    EXPECT_TRUE(item.windowClass.isOrdinal);
    EXPECT_EQ(item.windowClass.ordinal, kind.windowClass);
    EXPECT_EQ(item.style, kind.style)
        << std::hex << "0x" << item.style << " instead of 0x" << kind.style;
    EXPECT_EQ(item.exStyle, kind.exStyle)
        << std::hex << "0x" << item.exStyle << " instead of 0x" << kind.exStyle;
    EXPECT_EQ(item.helpId, 0u);
    EXPECT_EQ(item.x, r.x);
    EXPECT_EQ(item.y, r.y);
    EXPECT_EQ(item.cx, r.cx);
    EXPECT_EQ(item.cy, r.cy);
    if (text.iconId != 0) {
        EXPECT_TRUE(item.title.isOrdinal);
        EXPECT_EQ(item.title.ordinal, text.iconId);
    } else {
        EXPECT_FALSE(item.title.isOrdinal);
        EXPECT_EQ(item.title.text, text.text);
    }
    EXPECT_TRUE(item.extra.empty());
}

class DialogTemplates : public testing::TestWithParam<Language> {};

TEST_P(DialogTemplates, TesterDialogMatchesItsTable) {
    const Language& lang = GetParam();
    DialogTemplate dlg = Parse(IDD_TESTER_DIALOG, lang.id);
    ExpectDialog(dlg, lang.tester);
    ASSERT_EQ(dlg.items.size(), TESTER_CONTROLS.size());
    const bool english = lang.id == LANG_ENGLISH_US;
    for (std::size_t i = 0; i < TESTER_CONTROLS.size(); ++i) {
        const TesterRow& row = TESTER_CONTROLS[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        ExpectItem(dlg.items[i], row.id, row.kind, english ? row.english : row.japanese,
                   english ? row.englishRect : row.japaneseRect);
    }
}

TEST_P(DialogTemplates, AboutBoxMatchesItsTable) {
    const Language& lang = GetParam();
    DialogTemplate dlg = Parse(IDD_ABOUTBOX, lang.id);
    ExpectDialog(dlg, lang.about);
    ASSERT_EQ(dlg.items.size(), 5u);
    const Kind icon{cls::STATIC, 0x50000003, 0};
    const Kind version{cls::STATIC, 0x50020080, 0};
    const Kind notice{cls::STATIC, 0x50020002, 0};
    const Kind ok{cls::BUTTON, 0x50030001, 0};
    ExpectItem(dlg.items[0], -1, icon, 130, {11, 17, 20, 20});
    ExpectItem(dlg.items[1], -1, version, "Marlox Version 1.0i", {40, 10, 119, 8});
    ExpectItem(dlg.items[2], -1, notice, dlg.items[2].title.text.c_str(), {40, 24, 119, 8});
    ExpectItem(dlg.items[3], 1, ok, "OK", {178, 7, 50, 16});
    ExpectItem(dlg.items[4], -1, notice, dlg.items[4].title.text.c_str(), {40, 38, 119, 8});
    EXPECT_FALSE(dlg.items[2].title.text.empty());
    EXPECT_FALSE(dlg.items[4].title.text.empty());
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, DialogTemplates, testing::ValuesIn(LANGUAGES),
                         [](const testing::TestParamInfo<Language>& info) {
                             return std::string(info.param.name);
                         });

TEST(DialogTemplates, AboutBoxNoticeIsTheSameInBothLanguages) {
    DialogTemplate english = Parse(IDD_ABOUTBOX, LANG_ENGLISH_US);
    DialogTemplate japanese = Parse(IDD_ABOUTBOX, LANG_JAPANESE);
    ASSERT_EQ(english.items.size(), japanese.items.size());
    for (std::size_t i = 0; i < english.items.size(); ++i)
        EXPECT_EQ(english.items[i].title.text, japanese.items[i].title.text)
            << "control #" << i + 1;
}

// The tables above use the literal values; the symbols the code uses must agree with them.
TEST(DialogTemplates, SymbolsHaveTheirValues) {
    EXPECT_EQ(IDD_ABOUTBOX, 100);
    EXPECT_EQ(IDD_TESTER_DIALOG, 102);
    EXPECT_EQ(IDR_MAINFRAME, 130);
    EXPECT_EQ(IDI_PROTECTED, 131);
    EXPECT_EQ(IDM_ABOUTBOX, 0x0010);
    EXPECT_EQ(IDC_PORT, 1000);
    EXPECT_EQ(IDC_TEST, 1001);
    EXPECT_EQ(IDC_LEGACY_ENGINECODE, 1002);
    EXPECT_EQ(IDC_LEGACY_VERSION, 1003);
    EXPECT_EQ(IDC_ENGINECODE, 1004);
    EXPECT_EQ(IDC_VERSION, 1005);
    EXPECT_EQ(IDC_PROTECTION, 1006);
    EXPECT_EQ(IDC_PROTECTION_ICON, 1007);
    EXPECT_EQ(IDOK, 1);
    EXPECT_EQ(IDCANCEL, 2);
    EXPECT_EQ(IDC_STATIC, -1);
}

}  // namespace
