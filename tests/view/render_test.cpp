// The render command end to end: a small book container written here, laid out and painted
// through the Qt surface off screen, and the PNG read back.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <filesystem>
#include <fstream>

#include "platform/resources.h"
#include "tests/support/book_bytes.h"
#include "tools/render/render_command.h"

namespace vaelo::tools {
namespace {

using Bytes = std::vector<std::uint8_t>;

using vaelo::testing::ArticleResource;

Bytes Records(const std::vector<std::pair<std::uint8_t, std::string>>& records) {
    Bytes out;
    for (const auto& [flags, text] : records) {
        out.push_back(flags);
        out.push_back(flags == 0x07 ? 210 : 0x42);
        out.insert(out.end(), text.begin(), text.end());
        out.push_back(0);
    }
    out.push_back(0);
    return out;
}

class RenderCommand : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "render_tests";
        static char* argv[] = {name, nullptr};
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        if (QCoreApplication::instance() == nullptr)
            app = std::make_unique<QGuiApplication>(argc, argv);
    }
    static void TearDownTestSuite() { app.reset(); }
    static inline std::unique_ptr<QGuiApplication> app;

    void SetUp() override {
        dir =
            std::filesystem::temp_directory_path() / ("vaelo-render-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        // Offsets: the first title's text starts at 2.
        const Bytes article = Records({{0xDC, "mvtr vcbtv"},
                                       {0xD1, "ypr rcuvo"},
                                       {0x07, ""},
                                       {0xB1, "hbr cjr, yl cpu vmlh yl gbr yly abtc avr"},
                                       {0xB3, "pirvy: yl vtm cl vuri vmcvr lmi cvl"}});
        std::map<std::pair<std::uint16_t, std::uint16_t>, Bytes> resources;
        resources[{10, 1001}] = ArticleResource(article);
        const Bytes container = platform::WriteResourceContainer(resources);
        book = (dir / "book.vbk").string();
        std::ofstream(book, std::ios::binary)
            .write(reinterpret_cast<const char*>(container.data()),
                   static_cast<std::streamsize>(container.size()));
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::filesystem::path dir;
    std::string book;
};

TEST_F(RenderCommand, PaintsTheArticleIntoAPng) {
    const std::string out = (dir / "page.png").string();
    ASSERT_EQ(RunRenderCommand({"render", book, "1", "--width", "240", "--height", "200", "--mark",
                                "2:6", "--titlebox", "-o", out}),
              0);
    const QImage image(QString::fromStdString(out));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 240);
    EXPECT_EQ(image.height(), 200);
    int yellow = 0, red = 0, blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            yellow += p == qRgb(255, 255, 0);
            red += p == qRgb(255, 0, 0);
            blue += qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60;
        }
    EXPECT_GT(yellow, 100);  // the highlight and the title box
    EXPECT_GT(red, 100);     // the box's frame and its titles
    EXPECT_GT(blue, 50);     // the title in large bold, and the match
    // The box ends 2 pixels above the bottom, framed in red.
    EXPECT_EQ(image.pixel(120, 197), qRgb(255, 0, 0));
}

TEST_F(RenderCommand, ExplainsWhatIsWrong) {
    const std::string out = (dir / "x.png").string();
    EXPECT_EQ(RunRenderCommand({book, "1", "--width", "240", "-o", out}), 2);  // no height
    EXPECT_EQ(RunRenderCommand({book, "0", "--width", "9", "--height", "9", "-o", out}), 2);
    EXPECT_EQ(
        RunRenderCommand({book, "1", "--width", "9", "--height", "9", "--mark", "5:2", "-o", out}),
        2);
    EXPECT_EQ(RunRenderCommand({book, "1", "--width", "9", "--height", "9", "--zoom", "-o", out}),
              2);
    EXPECT_EQ(RunRenderCommand(
                  {(dir / "none.vbk").string(), "1", "--width", "9", "--height", "9", "-o", out}),
              1);
    EXPECT_EQ(RunRenderCommand({book, "3", "--width", "9", "--height", "9", "-o", out}), 1);
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace vaelo::tools
