// UnCompress throughput on the largest article of the built-in book, beside the ceiling
// (memcpy of the same size) and a plain byte-at-a-time decoder, the way a straightforward
// port decodes: every output byte checked and stored on its own.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "content/article_store.h"
#include "platform/headless/headless_platform.h"
#include "resources/builtin_resources.h"

namespace {

using namespace vaelo;

struct Sample {
    content::PackedBlock block;
    std::uint16_t article = 0;
};

std::uint16_t BigEndian16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

// The article with the longest text.
Sample Largest(const platform::ResourceContainer& book) {
    Sample best;
    for (int n = content::kFirstArticle; n <= content::kLastArticle; ++n) {
        auto r = book.Find(platform::ResourceType::RawData, static_cast<std::uint16_t>(n + 1000));
        if (!r || r->size() < content::kArticleHeaderSize) continue;
        const std::uint16_t textLength = BigEndian16(r->data() + 8);
        if (textLength > best.block.textLength)
            best = {{r->data() + 10, BigEndian16(r->data() + 6), textLength}, static_cast<std::uint16_t>(n)};
    }
    return best;
}

std::size_t PlainDecode(const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                        std::size_t outLength) {
    std::size_t i = 0, o = 0;
    while (i < inLength && o < outLength) {
        unsigned c = in[i++];
        if (c >= 1 && c <= 8) {
            while (c-- > 0 && i < inLength && o < outLength) out[o++] = in[i++];
        } else if (c < 0x80) {
            out[o++] = static_cast<std::uint8_t>(c);
        } else if (c >= 0xC0) {
            out[o++] = ' ';
            if (o < outLength) out[o++] = static_cast<std::uint8_t>(c ^ 0x80);
        } else {
            if (i >= inLength) break;
            const unsigned v = (c << 8) | in[i++];
            const std::size_t d = (v >> 3) & 0x7FF;
            std::size_t n = (v & 7) + 3;
            if (d == 0 || d > o) break;
            while (n-- > 0 && o < outLength) {
                out[o] = out[o - d];
                ++o;
            }
        }
    }
    return o;
}

struct Fixture {
    Fixture() : book(*platform::ResourceContainer::View(BuiltinResources(), nullptr)), sample(Largest(book)) {}
    platform::headless::HeadlessPlatform platform;
    platform::ResourceContainer book;
    Sample sample;
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

void Report(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["article"] = Shared().sample.article;
    state.counters["text_bytes"] = static_cast<double>(bytes);
}

void BM_UnCompress(benchmark::State& state) {
    const auto& s = Shared().sample;
    for (auto _ : state) {
        content::Document d = content::UnCompress(s.block, nullptr);
        benchmark::DoNotOptimize(d.block.get());
    }
    Report(state, s.block.textLength);
}

void BM_PlainDecoder(benchmark::State& state) {
    const auto& s = Shared().sample;
    std::vector<std::uint8_t> out(s.block.textLength + 2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlainDecode(s.block.source, s.block.sourceLength, out.data(), s.block.textLength));
        benchmark::ClobberMemory();
    }
    Report(state, s.block.textLength);
}

void BM_Memcpy(benchmark::State& state) {
    const auto& s = Shared().sample;
    std::vector<std::uint8_t> from(s.block.textLength, 'a'), to(s.block.textLength);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
    Report(state, s.block.textLength);
}

BENCHMARK(BM_UnCompress);
BENCHMARK(BM_PlainDecoder);
BENCHMARK(BM_Memcpy);

}  // namespace

BENCHMARK_MAIN();
