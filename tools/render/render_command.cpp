#include "tools/render/render_command.h"

#include <QGuiApplication>
#include <QImage>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "content/article_store.h"
#include "platform/platform.h"
#include "platform/qt/qt_surface.h"
#include "platform/utf.h"
#include "view/layout.h"
#include "view/paint.h"
#include "view/title_box.h"

namespace vaelo::tools {
namespace {

constexpr int kMaxSide = 8192;
constexpr int kMaxFontSize = 1000;

const char* const kUsage =
    "usage: vaelo-book render FILE N --width W --height H [--top ROW] [--mark START:END] "
    "[--titlebox] [--font FACE] [--size PX] -o out.png";

// A whole decimal number in [low, high], or nullopt.
std::optional<int> Number(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end || value < low || value > high) return std::nullopt;
    return value;
}

// A damaged article reports itself through a message box; here that is a line on stderr.
class StderrMessageBoxes final : public platform::MessageBoxes {
  public:
    int Show(platform::WindowId, const std::string& text, const std::optional<std::string>& caption,
             unsigned) override {
        std::fprintf(stderr, "vaelo-book render: %s: %s\n",
                     caption.value_or(platform::kDefaultCaption).c_str(), text.c_str());
        return platform::mbr::kOk;
    }
};

// Puts the services back that were installed before the command ran.
class Installed {
  public:
    explicit Installed(const platform::Services& services)
        : previous_(platform::Install(services)) {}
    ~Installed() { platform::Install(previous_); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

  private:
    platform::Services previous_;
};

// Qt needs an application object for fonts; a command-line run has none, and no display.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) return nullptr;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "vaelo-book";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "vaelo-book render: %s\n", message.c_str());
    return 1;
}

}  // namespace

std::optional<RenderOptions> ParseRenderArgs(const std::vector<std::string>& args,
                                             std::string* error) {
    RenderOptions o;
    std::vector<std::string> positional;
    bool haveWidth = false, haveHeight = false;
    auto bad = [&](const std::string& why) -> std::optional<RenderOptions> {
        if (error) *error = why;
        return std::nullopt;
    };
    std::size_t k = !args.empty() && args[0] == "render" ? 1 : 0;
    for (; k < args.size(); ++k) {
        const std::string& a = args[k];
        auto value = [&]() -> const std::string* {
            return k + 1 < args.size() ? &args[++k] : nullptr;
        };
        if (a == "--titlebox") {
            o.titleBox = true;
        } else if (a == "--width" || a == "--height" || a == "--top" || a == "--size") {
            const std::string* v = value();
            if (!v) return bad(a + " needs a value");
            const int high = a == "--top" ? 0xFFFF : a == "--size" ? kMaxFontSize : kMaxSide;
            const auto n = Number(*v, a == "--top" || a == "--size" ? 0 : 1, high);
            if (!n)
                return bad(a + " " + *v + ": not a number from " +
                           (a == "--top" || a == "--size" ? "0" : "1") + " to " +
                           std::to_string(high));
            if (a == "--width") o.width = *n, haveWidth = true;
            if (a == "--height") o.height = *n, haveHeight = true;
            if (a == "--top") o.topRow = static_cast<std::uint16_t>(*n);
            if (a == "--size") o.fontSize = *n;
        } else if (a == "--mark") {
            const std::string* v = value();
            if (!v) return bad("--mark needs START:END");
            const auto colon = v->find(':');
            const auto s =
                colon == std::string::npos ? std::nullopt : Number(v->substr(0, colon), 0, 0xFFFF);
            const auto e =
                colon == std::string::npos ? std::nullopt : Number(v->substr(colon + 1), 0, 0xFFFF);
            if (!s || !e || *e < *s) return bad("--mark " + *v + ": not START:END offsets");
            o.markStart = static_cast<std::uint16_t>(*s);
            o.markEnd = static_cast<std::uint16_t>(*e);
        } else if (a == "--font") {
            const std::string* v = value();
            if (!v) return bad("--font needs a face name");
            auto face = FromUtf8(*v);
            if (!face) return bad("--font: not UTF-8");
            if (face->size() > 31) return bad("--font: a face name has at most 31 characters");
            o.face = *face;
        } else if (a == "-o") {
            const std::string* v = value();
            if (!v || v->empty()) return bad("-o needs a file name");
            o.output = *v;
        } else if (a.starts_with("-") && a.size() > 1) {
            return bad("unknown option " + a);
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) return bad("expected FILE and N");
    o.container = positional[0];
    const auto n = Number(positional[1], content::kFirstArticle, content::kLastArticle);
    if (!n) return bad("N " + positional[1] + ": not an article number from 1 to 260");
    o.article = *n;
    if (!haveWidth || !haveHeight) return bad("--width and --height are needed");
    if (o.output.empty()) return bad("-o out.png is needed");
    return o;
}

int RunRenderCommand(const std::vector<std::string>& args) {
    std::string error;
    const auto options = ParseRenderArgs(args, &error);
    if (!options) {
        std::fprintf(stderr, "vaelo-book render: %s\n%s\n", error.c_str(), kUsage);
        return 2;
    }
    auto container = platform::ResourceContainer::ReadFile(options->container, &error);
    if (!container) return Fail(options->container + ": " + error);

    platform::ContainerResources resources(std::move(*container));
    StderrMessageBoxes boxes;
    platform::Services services = platform::Current();
    services.resources = &resources;
    services.messageBoxes = &boxes;
    Installed installed(services);

    int status = 0;
    content::Document doc = content::LoadArticle(options->article, &status);
    if (!doc)
        return Fail("article " + std::to_string(options->article) + ": " +
                    content::LoadStatusName(status));

    auto app = EnsureGuiApplication();
    platform::qt::QtSurface surface(options->width, options->height);
    FontSpec spec;
    const std::size_t units = std::min<std::size_t>(options->face.size(), FontSpec::kFaceUnits - 1);
    std::copy(options->face.begin(), options->face.begin() + units, spec.faceName);
    spec.fontSize = options->fontSize;
    spec.fontAsciiBase = content::kBaseUnicode;
    const content::LetterOptions letters{spec.fontAsciiBase, false};
    const Rect rect{0, 0, options->width, options->height};
    auto view = view::CreateTextView(&surface, &rect, spec, 100, [letters] { return letters; });
    if (!view) return Fail("out of memory");

    const int laid = view::LayoutDocument(view.get(), std::move(doc), true);
    if (laid != 0) return Fail("article cannot be laid out (code " + std::to_string(laid) + ")");
    view->topRow = options->topRow;
    view->markStart = options->markStart;
    view->markEnd = options->markEnd;
    view::PaintView(view.get(), true);
    if (options->titleBox) view::ShowTitleBox(view.get());

    if (!surface.Image().save(QString::fromStdString(options->output), "PNG"))
        return Fail(options->output + ": cannot write the PNG");
    std::printf("%s: article %d, %d lines, %d rows, top row %d of %d\n", options->output.c_str(),
                options->article, view->lineCount, view->rowCount, view->topRow, view->maxTopRow);
    return 0;
}

}  // namespace vaelo::tools
