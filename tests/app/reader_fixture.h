// A reader on the headless platform over a small generated book: every article has a title
// and enough paragraphs to scroll; the user-interface resources are the real ones.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/shell_state.h"
#include "app/startup.h"
#include "platform/headless/headless_platform.h"
#include "platform/ui_resources.h"
#include "tests/support/book_bytes.h"

namespace vaelo::testing {

// Article n: a title, then `paragraphs` paragraphs of eight letter-code words each.
inline Bytes DemoArticle(int n, int paragraphs) {
    Bytes d = {0xDC, 0x00};
    for (char c : "abg " + std::to_string(n)) d.push_back(static_cast<std::uint8_t>(c));
    d.push_back(0);
    for (int p = 0; p < paragraphs; ++p) {
        d.push_back(0x21);  // right aligned, normal size
        d.push_back(0x00);
        for (int w = 0; w < 8; ++w) {
            if (w) d.push_back(' ');
            for (int k = 0; k < 4; ++k) d.push_back(static_cast<std::uint8_t>('a' + (n + p + w + k) % 27));
        }
        d.push_back(0);
    }
    d.push_back(0);
    return d;
}

inline std::string ReadSource(const std::string& name) {
    std::ifstream in(std::string(VAELO_SOURCE_DIR) + "/resources/ui/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class ReaderTest : public ::testing::Test {
protected:
    using Map = std::map<std::pair<std::uint16_t, std::uint16_t>, Bytes>;

    ReaderTest() { ResetShell(); }
    ~ReaderTest() override { ResetShell(); }

    // The book; `missing` lists articles left out.
    Map Book(std::vector<int> missing = {}) {
        Map m;
        for (int n = 1; n <= 260; ++n)
            if (std::find(missing.begin(), missing.end(), n) == missing.end())
                m[{10, static_cast<std::uint16_t>(1000 + n)}] = ArticleResource(DemoArticle(n, n % 2 ? 40 : 25));
        auto text = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
        m[{4, 102}] = text(ReadSource("menu102.txt"));
        m[{5, 103}] = text(ReadSource("dialog103.txt"));
        m[{6, 302}] = text("Go");
        m[{6, 304}] = text("Gelmo");
        return m;
    }
    void Install(const Map& book) {
        platform_.SetResources(*platform::ResourceContainer::Own(platform::WriteResourceContainer(book), nullptr));
    }
    // Starts the reader as the entry does; the headless loop returns at once.
    platform::WindowId Start(const Map& book) {
        Install(book);
        EXPECT_EQ(RunReader({}), 0);
        return Shell().mainWindow;
    }
    platform::WindowId Start() { return Start(Book()); }

    std::intptr_t Send(unsigned message, std::uintptr_t value = 0, std::intptr_t extra = 0) {
        return platform_.windows.Send(Shell().mainWindow, message, value, extra);
    }
    void Key(unsigned key) { Send(platform::msg::kKeyDown, key); }
    void Command(unsigned id) { Send(platform::msg::kCommand, id); }
    platform::headless::HeadlessSurface& Surface() { return *platform_.windows.SurfaceOf(Shell().mainWindow); }
    bool Logged(const std::string& line) const {
        const auto& l = platform_.log.lines;
        return std::find(l.begin(), l.end(), line) != l.end();
    }

    platform::headless::HeadlessPlatform platform_;
};

}  // namespace vaelo::testing
