#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/settings_file.h"

namespace vaelo::platform {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vaelo-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        path_ = (dir_ / "sub" / "settings.vreg").string();
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string ReadAll(const std::string& p) {
        std::ifstream in(p);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void WriteAll(const std::string& text) {
        fs::create_directories(fs::path(path_).parent_path());
        std::ofstream(path_) << text;
    }
    fs::path dir_;
    std::string path_;
};

TEST_F(SettingsFileTest, ValuesRoundTripWithTheirTypes) {
    const SettingValue values[] = {
        SettingValue::Number(0xD1140040),
        SettingValue::String(u"Frank \"Ruehl\" \\ \u05D0\u05D1 \n tab\t"),
        SettingValue::String(std::u16string(u"lone \xD800 surrogate")),
        SettingValue::Bytes({0x61, 0x00, 0xFF}),
        SettingValue::Bytes({}),
    };
    {
        FileSettingsStore store(path_);
        int i = 0;
        for (const auto& v : values) EXPECT_TRUE(store.Write("Software\\Tarvenco\\Vaelo", "v" + std::to_string(i++), v));
    }
    FileSettingsStore again(path_);
    EXPECT_TRUE(again.Problems().empty());
    int i = 0;
    for (const auto& v : values) {
        auto got = again.Read("SOFTWARE\\tarvenco\\vaelo", "V" + std::to_string(i++));
        ASSERT_TRUE(got);
        EXPECT_EQ(*got, v);
    }
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));
    // The file is text a person can read.
    EXPECT_NE(ReadAll(path_).find("\"v0\"=number:3507748928"), std::string::npos);
}

TEST_F(SettingsFileTest, KeyPathsCompareWithoutCase) {
    FileSettingsStore store(path_);
    store.Write("Software\\Tarvenco\\Vaelo", "Lesson", SettingValue::Number(5));
    EXPECT_TRUE(store.KeyExists("software\\tarvenco"));
    EXPECT_TRUE(store.KeyExists("SOFTWARE\\TARVENCO\\VAELO"));
    EXPECT_FALSE(store.KeyExists("software\\tarv"));
    EXPECT_FALSE(store.Read("software\\Tarvenco", "Lesson"));  // a parent does not hold the value
    store.Write("software\\tarvenco\\vaelo", "LESSON", SettingValue::Number(7));
    EXPECT_EQ(store.Read("Software\\Tarvenco\\Vaelo", "lesson")->number, 7u);
    EXPECT_EQ(store.Keys().size(), 1u);
}

TEST_F(SettingsFileTest, DamagedFileKeepsEveryReadableValue) {
    const std::string damaged =
        "; written by hand\n"
        "\"orphan\"=number:1\n"
        "[Software\\Tarvenco\\Vaelo]\n"
        "\"Lesson\"=number:17\n"
        "\"Flags\"=number:12x\n"
        "\"FontName\"=string:\"Dav\n"
        "garbage line\n"
        "\"SearchString\"=bytes:61 62 00\n"
        "\"Big\"=number:4294967296\n"
        "[broken\n"
        "\"Lost\"=number:3\n"
        "[software\\tarvenco]\n"
        "\"FullScreen\"=number:1\n"
        "\"FontSize\"=string:\"12\"\n"
        "\xff\xfe\n";
    WriteAll(damaged);
    FileSettingsStore store(path_);
    EXPECT_EQ(store.Read("Software\\Tarvenco\\Vaelo", "Lesson")->number, 17u);
    EXPECT_EQ(store.Read("Software\\Tarvenco\\Vaelo", "SearchString")->bytes,
              (std::vector<std::uint8_t>{0x61, 0x62, 0x00}));
    EXPECT_EQ(store.Read("software\\tarvenco", "FullScreen")->number, 1u);
    EXPECT_EQ(store.Read("software\\tarvenco", "FontSize")->text, u"12");
    for (const char* lost : {"Flags", "FontName", "Big"})
        EXPECT_FALSE(store.Read("Software\\Tarvenco\\Vaelo", lost)) << lost;
    EXPECT_EQ(store.Problems().size(), 8u);
    EXPECT_NE(store.Problems()[0].find("settings.vreg:2:"), std::string::npos);

    // The first write keeps the damaged original beside the new file.
    store.Write("Software\\Tarvenco\\Vaelo", "Lesson", SettingValue::Number(19));
    EXPECT_EQ(ReadAll(path_ + ".damaged"), damaged);
    FileSettingsStore again(path_);
    EXPECT_TRUE(again.Problems().empty());
    EXPECT_EQ(again.Read("Software\\Tarvenco\\Vaelo", "Lesson")->number, 19u);
    EXPECT_EQ(again.Read("software\\tarvenco", "FullScreen")->number, 1u);
}

TEST_F(SettingsFileTest, UnwritableLocationReportsFailure) {
    WriteAll("");
    fs::create_directories(path_ + ".tmp");  // the temporary file cannot be made
    FileSettingsStore store(path_);
    EXPECT_FALSE(store.Write("Software\\Tarvenco\\Vaelo", "Lesson", SettingValue::Number(1)));
    // Still held in memory for the rest of the run.
    EXPECT_EQ(store.Read("Software\\Tarvenco\\Vaelo", "Lesson")->number, 1u);
}

TEST_F(SettingsFileTest, HeldWritesReachTheFileTogetherAtCommit) {
    FileSettingsStore store(path_);
    store.Write("Software\\Tarvenco\\Vaelo", "Lesson", SettingValue::Number(1));
    const auto written = fs::last_write_time(path_);
    store.Hold();
    store.Write("Software\\Tarvenco\\Vaelo", "Lesson", SettingValue::Number(3));
    store.Write("Software\\Tarvenco\\Vaelo", "Flags", SettingValue::Number(7));
    EXPECT_EQ(FileSettingsStore(path_).Read("Software\\Tarvenco\\Vaelo", "Lesson")->number, 1u);
    EXPECT_TRUE(store.Commit());
    FileSettingsStore again(path_);
    EXPECT_EQ(again.Read("Software\\Tarvenco\\Vaelo", "Lesson")->number, 3u);
    EXPECT_EQ(again.Read("Software\\Tarvenco\\Vaelo", "Flags")->number, 7u);
    // A value written again unchanged leaves the file alone.
    fs::last_write_time(path_, written);
    store.Write("Software\\Tarvenco\\Vaelo", "Flags", SettingValue::Number(7));
    EXPECT_EQ(fs::last_write_time(path_), written);
}

TEST(SettingsFilePath, FollowsXdgConfigHome) {
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(FileSettingsStore::DefaultPath(), "/tmp/xdg-test/Vaelo/settings.vreg");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as XDG says
    ::setenv("HOME", "/home/reader", 1);
    EXPECT_EQ(FileSettingsStore::DefaultPath(), "/home/reader/.config/Vaelo/settings.vreg");
}

}  // namespace
}  // namespace vaelo::platform
