#include <gtest/gtest.h>

#include "app/settings.h"
#include "app/shell_state.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_surface.h"

namespace vaelo {
namespace {

using platform::SettingValue;

// Records every write in order, as "Name=value".
class RecordingStore : public platform::MemorySettingsStore {
public:
    bool Write(const std::string& key, const std::string& name, const SettingValue& v) override {
        std::string text;
        switch (v.type) {
            case platform::ValueType::Number: text = std::to_string(v.number); break;
            case platform::ValueType::String: text = "string(" + std::to_string(v.text.size()) + ")"; break;
            case platform::ValueType::Bytes: text = "bytes(" + std::to_string(v.bytes.size()) + ")"; break;
        }
        writes.push_back((key == kProgramKey ? "" : key + ":") + name + "=" + text);
        return MemorySettingsStore::Write(key, name, v);
    }
    std::vector<std::string> writes;
};

// A view that shows nothing, standing at a given row.
view::TextViewPtr ViewAt(platform::Surface& surface, std::uint16_t row) {
    auto v = view::CreateTextView(&surface, nullptr, FontSpec{}, 0);
    v->topRow = row;
    return v;
}

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() {
        ResetShell();
        platform::Current().settings = &store_;
    }
    ~SettingsTest() override { ResetShell(); }
    void Put(const char* name, SettingValue v, const char* key = kProgramKey) {
        store_.MemorySettingsStore::Write(key, name, v);
    }
    platform::headless::HeadlessPlatform platform_;
    RecordingStore store_;
};

TEST_F(SettingsTest, FirstStartTakesDefaultsAndFirstExitWritesTheListedValuesInOrder) {
    ReadDeviceOptions();
    LoadSettings();
    SetCurrentArticle(0);
    const ShellState& s = Shell();
    EXPECT_FALSE(s.fontSpec.HasFace());
    EXPECT_EQ(s.fontSpec.fontSize, 0);
    EXPECT_EQ(s.fontSpec.fontAsciiBase, 1488);
    EXPECT_EQ(s.flags, 0xD1140040u);
    EXPECT_EQ(s.bottomSection, 12u);
    EXPECT_EQ(s.lesson, 1);
    EXPECT_EQ(s.lastPosition, 0);
    EXPECT_EQ(s.options.allowSipInHebrewSearch, 1u);
    EXPECT_EQ(s.options.fullScreen, 0u);
    EXPECT_EQ(s.searchString[0], 0);
    EXPECT_EQ(s.bookmarks.count, 0);
    EXPECT_EQ(store_.writes, (std::vector<std::string>{"Program Path=string(16)"}));

    store_.writes.clear();
    platform::headless::HeadlessSurface surface(240, 320);
    Shell().mainView = ViewAt(surface, 7);
    Shell().bottomView = ViewAt(surface, 3);
    ShutDown();
    EXPECT_EQ(store_.writes, (std::vector<std::string>{
                                 "FontAsciiBase=1488", "LastPosition=7", "Flags=3507748928",
                                 "Lesson=1", "BottomSection=12", "BottomSectionLastPosition=3",
                                 "Bookmarks=bytes(2)"}));
    EXPECT_FALSE(Shell().mainView);
    EXPECT_FALSE(Shell().bottomView);
    EXPECT_TRUE(Shell().quitRequested);
    EXPECT_EQ(Shell().exitCode, 0);
    // The options key is only ever read.
    for (const auto& k : store_.Keys()) EXPECT_EQ(platform::FoldKeyPath(k.path), "software\\tarvenco\\vaelo");

    store_.writes.clear();
    ShutDown();  // once only
    EXPECT_TRUE(store_.writes.empty());
}

TEST_F(SettingsTest, ChosenFontAndSearchAreWrittenOnlyWhenSet) {
    LoadSettings();
    store_.writes.clear();
    ShellState& s = Shell();
    std::u16string face = u"David";
    std::copy(face.begin(), face.end(), s.fontSpec.faceName);
    s.fontSpec.fontSize = 18;
    s.searchString[0] = 'a';
    s.searchString[1] = 'b';
    ShutDown();
    EXPECT_EQ(store_.writes, (std::vector<std::string>{
                                 "SearchString=bytes(3)", "FontName=string(5)", "FontSize=18",
                                 "FontAsciiBase=1488", "Flags=3507748928", "BottomSection=12",
                                 "Bookmarks=bytes(2)"}));
}

TEST_F(SettingsTest, NumbersStoredAsTextFollowTheDecimalRule) {
    struct Case {
        SettingValue stored;
        std::uint32_t want;
    };
    const Case cases[] = {
        {SettingValue::String(u"12"), 12},
        {SettingValue::String(u"1a"), 59},  // 1 × 10 + ('a' − 48)
        {SettingValue::String(u""), 0},
        {SettingValue::String(u"-1"), static_cast<std::uint32_t>(-3 * 10 + 1)},  // no sign
        {SettingValue::Bytes({'4', 0, '2', 0, 0, 0, '9', 0}), 42},  // units up to the zero unit
        {SettingValue::Number(65537), 65537},
    };
    for (const auto& c : cases) {
        Put("FontSize", c.stored);
        EXPECT_EQ(ReadNumber(kProgramKey, "FontSize", 5), c.want);
    }
    EXPECT_EQ(ReadNumber(kProgramKey, "Missing", 5), 5u);
    EXPECT_EQ(ReadNumber("Software\\Nobody", "FontSize", 6), 6u);
}

TEST_F(SettingsTest, StoredValuesAreTakenAsTheyComeWithinTheirFields) {
    Put("Lesson", SettingValue::Number(65537));
    Put("LastPosition", SettingValue::Number(0x12345));
    Put("BottomSection", SettingValue::Number(40));  // not a code the menu makes: kept as stored
    Put("FontName", SettingValue::String(std::u16string(40, u'x')));
    Put("SearchString", SettingValue::Bytes(std::vector<std::uint8_t>(50, 'c')));
    Put("FullScreen", SettingValue::Number(1), kOptionsKey);
    Put("SurroundingGutter", SettingValue::String(u"4"), kOptionsKey);
    ReadDeviceOptions();
    LoadSettings();
    const ShellState& s = Shell();
    EXPECT_EQ(s.lesson, 1);  // held in 16 bits
    EXPECT_EQ(s.lastPosition, 0x2345);
    EXPECT_EQ(s.bottomSection, 40u);
    EXPECT_EQ(std::u16string(s.fontSpec.faceName), std::u16string(31, u'x'));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(s.searchString)), std::string(33, 'c'));
    EXPECT_EQ(s.options.fullScreen, 1u);
    EXPECT_EQ(s.options.surroundingGutter, 4u);

    // Switching articles: a new article starts at its first row; 0 keeps what is there.
    Shell().lastPosition = 9;
    SetCurrentArticle(0);
    EXPECT_EQ(Shell().lesson, 1);
    EXPECT_EQ(Shell().lastPosition, 9);
    SetCurrentArticle(1);
    EXPECT_EQ(Shell().lastPosition, 9);
    SetCurrentArticle(5);
    EXPECT_EQ(Shell().lesson, 5);
    EXPECT_EQ(Shell().lastPosition, 0);
}

TEST_F(SettingsTest, ExhaustedMemorySaysSoAndEndsInOrder) {
    LoadSettings();
    Shell().lesson = 9;
    store_.writes.clear();
    platform_.heap.FailAllocationsAfter(0);
    EXPECT_FALSE(AllocOrAbort(64));
    platform_.heap.Reset();
    ASSERT_EQ(platform_.messageBoxes.Log().size(), 1u);
    EXPECT_EQ(platform_.messageBoxes.Log()[0],
              "MessageBox owner=0 caption=\"Error\" text=\"There is not enough memory, aborting\" "
              "style=0x10 -> 1");
    EXPECT_TRUE(Shell().quitRequested);
    EXPECT_NE(std::find(store_.writes.begin(), store_.writes.end(), "Lesson=9"), store_.writes.end());

    // A read that cannot get its buffer yields nothing (and the default for a number).
    Put("FontName", SettingValue::String(u"David"));
    platform_.heap.FailAllocationsAfter(0);
    EXPECT_FALSE(ReadString("FontName"));
    platform_.heap.Reset();
}

}  // namespace
}  // namespace vaelo
