// The book packer beside a plain greedy longest-match packer, on the whole built-in book: time
// to pack every article, and the packed size of the whole book for each (counters). The
// packer's parse is also checked against an exhaustive shortest parse, with a plain search of
// the whole window, on sample articles.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "content/article_store.h"
#include "platform/headless/headless_platform.h"
#include "resources/builtin_resources.h"
#include "tools/book/packer.h"

namespace {

using namespace vaelo;
using Bytes = std::vector<std::uint8_t>;

// The unpacked texts of the 260 articles and the index, through the reader's own loader.
const std::vector<Bytes>& BookTexts() {
    static const std::vector<Bytes> texts = [] {
        platform::headless::HeadlessPlatform platform;
        platform.SetResources(*platform::ResourceContainer::View(BuiltinResources(), nullptr));
        std::vector<Bytes> all;
        for (int n = 1; n <= content::kLastArticle + 1; ++n) {
            const int number = n > content::kLastArticle ? content::kIndexArticleNumber : n;
            int status = 0;
            content::Document doc = content::LoadArticle(number, &status);
            if (!doc) {
                std::fprintf(stderr, "article %d: %s\n", number, content::LoadStatusName(status));
                std::abort();
            }
            all.emplace_back(doc.data(), doc.data() + doc.length);
        }
        return all;
    }();
    return texts;
}

// The baseline: at every position the longest match in the window (searched from the nearest
// position back), else a space pair, else a literal, else raw bytes gathered into runs.
Bytes GreedyPack(const Bytes& t) {
    Bytes out;
    const std::size_t n = t.size();
    std::size_t runStart = 0, runLength = 0;
    auto flush = [&] {
        if (runLength == 0) return;
        out.push_back(static_cast<std::uint8_t>(runLength));
        out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(runStart),
                   t.begin() + static_cast<std::ptrdiff_t>(runStart + runLength));
        runLength = 0;
    };
    for (std::size_t i = 0; i < n;) {
        std::size_t best = 0, distance = 0;
        for (std::size_t d = 1; d <= 2047 && d <= i && best < 10; ++d) {
            std::size_t k = 0;
            while (k < 10 && i + k < n && t[i + k] == t[i - d + k]) ++k;
            if (k > best) best = k, distance = d;
        }
        if (best >= 3) {
            flush();
            const unsigned v = static_cast<unsigned>(distance << 3) | static_cast<unsigned>(best - 3);
            out.push_back(static_cast<std::uint8_t>(0x80 | (v >> 8)));
            out.push_back(static_cast<std::uint8_t>(v));
            i += best;
        } else if (i + 1 < n && t[i] == ' ' && t[i + 1] >= 0x40 && t[i + 1] < 0x80) {
            flush();
            out.push_back(static_cast<std::uint8_t>(t[i + 1] ^ 0x80));
            i += 2;
        } else if (t[i] == 0 || (t[i] >= 9 && t[i] < 0x80)) {
            flush();
            out.push_back(t[i++]);
        } else {
            if (runLength == 0) runStart = i;
            if (++runLength == 8) flush();
            ++i;
        }
    }
    flush();
    return out;
}


void Sizes(benchmark::State& state, std::size_t packed) {
    std::size_t text = 0;
    for (const auto& t : BookTexts()) text += t.size();
    state.counters["text_bytes"] = static_cast<double>(text);
    state.counters["packed_bytes"] = static_cast<double>(packed);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text));
}

void BM_PackBookOptimal(benchmark::State& state) {
    std::size_t packed = 0;
    for (auto _ : state) {
        packed = 0;
        for (const auto& t : BookTexts()) packed += booktool::Pack(t).size();
    }
    Sizes(state, packed);
}
BENCHMARK(BM_PackBookOptimal)->Unit(benchmark::kMillisecond);

void BM_PackBookGreedy(benchmark::State& state) {
    std::size_t packed = 0;
    for (auto _ : state) {
        packed = 0;
        for (const auto& t : BookTexts()) packed += GreedyPack(t).size();
    }
    Sizes(state, packed);
}
BENCHMARK(BM_PackBookGreedy)->Unit(benchmark::kMillisecond);

// Sample articles: a short commentary, an ordinary page, the first page and the index. The
// exhaustive size must equal the packer's; both are reported.
void BM_ExhaustiveCheck(benchmark::State& state) {
    const std::vector<std::size_t> samples = {199, 2, 0, 260};
    std::size_t optimal = 0, exhaustive = 0;
    for (auto _ : state) {
        optimal = exhaustive = 0;
        for (std::size_t s : samples) {
            const Bytes& t = BookTexts()[s];
            optimal += booktool::Pack(t).size();
            exhaustive += booktool::ExhaustivePackedSize(t);
        }
    }
    state.counters["optimal_bytes"] = static_cast<double>(optimal);
    state.counters["exhaustive_bytes"] = static_cast<double>(exhaustive);
    if (optimal != exhaustive) state.SkipWithError("the packer's parse is longer than the exhaustive one");
}
BENCHMARK(BM_ExhaustiveCheck)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
