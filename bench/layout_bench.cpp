// LayoutDocument of a large article on the Qt surface, beside Qt's own QTextLayout laying out
// the same paragraphs, in the same fonts, at the same widths. The goal: no slower than
// QTextLayout.
//
// The article is the largest one of the built-in book when the build has it; otherwise a
// generated one of the same make (titles, right-to-left paragraphs with hanging first words,
// small commentary text, rules).
#include <benchmark/benchmark.h>

#include <QFont>
#include <QGuiApplication>
#include <QTextLayout>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "content/article_store.h"
#include "content/letter_code.h"
#include "platform/platform.h"
#include "platform/qt/qt_surface.h"
#include "view/layout.h"
#include "view/text_view.h"
#ifdef VAELO_BENCH_BUILTIN
#include "resources/builtin_resources.h"
#include "tests/support/book_bytes.h"
#endif

namespace {

using namespace vaelo;

// About 60 KB of records: words of 2 to 7 letters, now and then a hyphenated pair.
std::vector<std::uint8_t> GeneratedArticle() {
    std::mt19937 rng(4);
    auto word = [&](std::string& out) {
        const int n = 2 + static_cast<int>(rng() % 6);
        for (int k = 0; k < n; ++k) out.push_back(static_cast<char>('a' + rng() % 27));
        if (rng() % 23 == 0) {
            out.push_back('-');
            out.push_back(static_cast<char>('a' + rng() % 27));
            out.push_back(static_cast<char>('a' + rng() % 27));
        }
    };
    std::vector<std::uint8_t> bytes;
    auto record = [&](std::uint8_t flags, std::uint8_t indent, const std::string& text) {
        bytes.push_back(flags);
        bytes.push_back(indent);
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
    };
    std::string title;
    word(title), title += ' ', word(title);
    record(0xDC, 0, title);
    record(0xD1, 0, title);
    while (bytes.size() < 60000) {
        std::string text;
        const int words = 20 + static_cast<int>(rng() % 120);
        for (int k = 0; k < words; ++k) {
            if (k) text.push_back(' ');
            word(text);
        }
        switch (rng() % 6) {
            case 0:
                record(0xB3, 0x80 | 4, text);
                break;  // small, hanging, right, blank after
            case 1:
                record(0x07, 180, "");
                break;  // rule, 40 % of the width
            default:
                record(0xB1, 0x40 | 2, text);
                break;  // reversed, hanging, right
        }
    }
    bytes.push_back(0);
    return bytes;
}

std::vector<std::uint8_t> LargestArticle() {
#ifdef VAELO_BENCH_BUILTIN
    auto container = platform::ResourceContainer::View(BuiltinResources(), nullptr);
    if (container) {
        platform::ContainerResources resources(std::move(*container));
        platform::Services services = platform::Current();
        services.resources = &resources;
        const platform::Services previous = platform::Install(services);
        content::Document best;
        for (int n = content::kFirstArticle; n <= content::kLastArticle; ++n) {
            content::Document doc = content::LoadArticle(n, nullptr);
            if (doc && (!best || doc.length > best.length)) best = std::move(doc);
        }
        platform::Install(previous);
        if (best) return std::vector<std::uint8_t>(best.data(), best.data() + best.length);
    }
#endif
    return GeneratedArticle();
}

const std::vector<std::uint8_t>& Article() {
    static const std::vector<std::uint8_t> bytes = LargestArticle();
    return bytes;
}

void BM_LayoutDocument(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    platform::qt::QtSurface surface(width, 600);
    FontSpec spec;
    spec.fontSize = 16;
    spec.fontAsciiBase = content::kBaseUnicode;
    const Rect rect{0, 0, width, 600};
    auto view = view::CreateTextView(&surface, &rect, spec, 100);
    view::LayoutDocument(view.get(), testing::DocumentFromBytes(Article()), true);
    for (auto _ : state) {
        // The re-layout a resize makes: the whole document, every line measured.
        const int result = view::LayoutOwnDocument(view.get());
        benchmark::DoNotOptimize(result);
    }
    state.counters["lines"] = view->lineCount;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(Article().size()));
}

// The same text records as display strings with their fonts and line widths.
struct QtParagraph {
    QString text;
    int font = 0;  // index into the fonts
    int lineWidth = 0;
};

void BM_QTextLayout(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    // The fonts LayoutDocument asks for at size 16: plain, small (12), large bold (20).
    QFont plain, small, large;
    plain.setPixelSize(16);
    small.setPixelSize(12);
    large.setPixelSize(20);
    large.setWeight(QFont::Bold);
    const QFont* fonts[] = {&plain, &small, &large};

    std::vector<QtParagraph> paragraphs;
    const auto& bytes = Article();
    std::uint32_t offset = 0;
    while (auto p = content::ReadParagraph(bytes.data(), static_cast<std::uint32_t>(bytes.size()),
                                           offset)) {
        offset = p->next;
        if (p->IsRule() || p->textLength == 0) continue;
        QString text;
        for (int k = 0; k < p->textLength; ++k)
            text.append(
                QChar(content::DisplayCode(bytes[p->textOffset + k], content::kBaseUnicode)));
        // Qt takes text in reading order and orders it for display itself.
        if (p->flags & content::ParaReversed) std::reverse(text.begin(), text.end());
        const int font = (p->flags & content::ParaSizeLarge)   ? 2
                         : (p->flags & content::ParaSizeSmall) ? 1
                                                               : 0;
        paragraphs.push_back({text, font, std::max(width - content::IndentWidth(p->indent), 1)});
    }

    std::int64_t lines = 0;
    for (auto _ : state) {
        lines = 0;
        for (const QtParagraph& para : paragraphs) {
            QTextLayout layout(para.text, *fonts[para.font]);
            QTextOption option(Qt::AlignRight);
            option.setTextDirection(Qt::RightToLeft);
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(para.lineWidth);
                ++lines;
            }
            layout.endLayout();
        }
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(Article().size()));
}

BENCHMARK(BM_LayoutDocument)->Arg(240)->Arg(800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextLayout)->Arg(240)->Arg(800)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
