#include "tools/book/packer.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vaelo::booktool {
namespace {

constexpr int kHashBits = 15;

std::uint32_t Hash3(const std::uint8_t* p) {
    const std::uint32_t v = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    return (v * 2654435761u) >> (32 - kHashBits);
}

bool IsLiteral(std::uint8_t b) { return b == 0x00 || (b >= 0x09 && b <= 0x7F); }
bool IsPair(const std::uint8_t* p, std::size_t left) {
    return left >= 2 && p[0] == 0x20 && p[1] >= 0x40 && p[1] <= 0x7F;
}

enum class Step : std::uint8_t { Literal, Pair, Run, Reference };

struct Choice {
    Step step = Step::Literal;
    std::uint8_t length = 1;
};

// Longest match at every position, with the distance it was found at.
void FindMatches(std::span<const std::uint8_t> text, std::vector<std::uint8_t>& length,
                 std::vector<std::uint16_t>* distance) {
    const std::size_t n = text.size();
    length.assign(n, 0);
    if (distance) distance->assign(n, 0);
    if (n < kMinMatch) return;
    std::vector<std::int32_t> head(std::size_t{1} << kHashBits, -1);
    std::vector<std::int32_t> previous(n, -1);
    const std::uint8_t* t = text.data();
    for (std::size_t i = 0; i + kMinMatch <= n; ++i) {
        const std::uint32_t h = Hash3(t + i);
        const std::size_t cap = std::min(kMaxMatch, n - i);
        std::size_t best = 0, bestDistance = 0;
        // The chain runs from the nearest earlier position backwards; it is left as soon as it
        // leaves the window, and a match of full length cannot be bettered.
        for (std::int32_t j = head[h]; j >= 0 && i - static_cast<std::size_t>(j) <= kMaxDistance;
             j = previous[static_cast<std::size_t>(j)]) {
            const std::uint8_t* a = t + j;
            const std::uint8_t* b = t + i;
            // best < cap here: a candidate that differs at the byte a longer match needs is out.
            if (a[best] != b[best]) continue;
            std::size_t k = 0;
            while (k < cap && a[k] == b[k]) ++k;
            if (k > best) {
                best = k;
                bestDistance = i - static_cast<std::size_t>(j);
                if (best == cap) break;
            }
        }
        if (best >= kMinMatch) {
            length[i] = static_cast<std::uint8_t>(best);
            if (distance) (*distance)[i] = static_cast<std::uint16_t>(bestDistance);
        }
        previous[i] = head[h];
        head[h] = static_cast<std::int32_t>(i);
    }
}

}  // namespace

std::vector<std::uint8_t> LongestMatches(std::span<const std::uint8_t> text) {
    std::vector<std::uint8_t> length;
    FindMatches(text, length, nullptr);
    return length;
}

std::vector<std::uint8_t> Pack(std::span<const std::uint8_t> text) {
    const std::size_t n = text.size();
    const std::uint8_t* t = text.data();
    std::vector<std::uint8_t> matchLength;
    std::vector<std::uint16_t> matchDistance;
    FindMatches(text, matchLength, &matchDistance);

    // cost[i]: the fewest packed bytes that produce text[i..n). Filled from the end, so every
    // choice at i sees the best cost of what follows it.
    std::vector<std::uint32_t> cost(n + 1, 0);
    std::vector<Choice> choice(n);
    for (std::size_t i = n; i-- > 0;) {
        const std::size_t left = n - i;
        std::uint32_t best = std::numeric_limits<std::uint32_t>::max();
        Choice pick;
        auto consider = [&](std::uint32_t c, Step step, std::size_t length) {
            if (c < best) {
                best = c;
                pick = {step, static_cast<std::uint8_t>(length)};
            }
        };
        if (IsLiteral(t[i])) consider(1 + cost[i + 1], Step::Literal, 1);
        if (IsPair(t + i, left)) consider(1 + cost[i + 2], Step::Pair, 2);
        for (std::size_t len = matchLength[i]; len >= kMinMatch; --len)
            consider(2 + cost[i + len], Step::Reference, len);
        for (std::size_t k = 1; k <= kMaxRun && k <= left; ++k)
            consider(static_cast<std::uint32_t>(1 + k) + cost[i + k], Step::Run, k);
        cost[i] = best;
        choice[i] = pick;
    }

    std::vector<std::uint8_t> out;
    out.reserve(cost[0]);
    for (std::size_t i = 0; i < n;) {
        const Choice c = choice[i];
        switch (c.step) {
            case Step::Literal: out.push_back(t[i]); break;
            case Step::Pair: out.push_back(static_cast<std::uint8_t>(t[i + 1] ^ 0x80)); break;
            case Step::Run:
                out.push_back(c.length);
                out.insert(out.end(), t + i, t + i + c.length);
                break;
            case Step::Reference: {
                // Any match of the longest length holds for every shorter length too.
                const unsigned v = (unsigned{matchDistance[i]} << 3) | (c.length - kMinMatch);
                out.push_back(static_cast<std::uint8_t>(0x80 | (v >> 8)));
                out.push_back(static_cast<std::uint8_t>(v & 0xFF));
                break;
            }
        }
        i += c.length;
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> MakeArticleResource(std::span<const std::uint8_t> text,
                                                             std::string* error) {
    auto fail = [&](std::string why) -> std::optional<std::vector<std::uint8_t>> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    if (text.empty()) return fail("the text is empty");
    if (text.size() > kMaxTextLength)
        return fail("the text is " + std::to_string(text.size()) + " bytes, above the limit of " +
                    std::to_string(kMaxTextLength));
    const std::vector<std::uint8_t> packed = Pack(text);
    if (packed.size() > kMaxPackedLength)
        return fail("the text packs to " + std::to_string(packed.size()) +
                    " bytes, more than the header can hold (" + std::to_string(kMaxPackedLength) +
                    ")");
    auto put16 = [](std::vector<std::uint8_t>& out, std::size_t v) {
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    };
    std::vector<std::uint8_t> r;
    r.reserve(packed.size() + 14);
    put16(r, packed.size() + 8);  // blockLength: every byte after offset 5
    r.insert(r.end(), 4, 0);
    put16(r, packed.size());
    put16(r, text.size());
    r.insert(r.end(), packed.begin(), packed.end());
    r.insert(r.end(), 4, 0);
    return r;
}

std::size_t ExhaustivePackedSize(std::span<const std::uint8_t> t) {
    const std::size_t n = t.size();
    std::vector<std::size_t> cost(n + 1, 0);
    for (std::size_t i = n; i-- > 0;) {
        std::size_t best = SIZE_MAX;
        if (t[i] == 0 || (t[i] >= 9 && t[i] < 0x80)) best = 1 + cost[i + 1];
        if (i + 1 < n && t[i] == ' ' && t[i + 1] >= 0x40 && t[i + 1] < 0x80)
            best = std::min(best, 1 + cost[i + 2]);
        for (std::size_t k = 1; k <= 8 && i + k <= n; ++k) best = std::min(best, 1 + k + cost[i + k]);
        for (std::size_t d = 1; d <= 2047 && d <= i; ++d)
            for (std::size_t len = 3; len <= 10 && i + len <= n; ++len) {
                bool same = true;
                for (std::size_t k = 0; k < len && same; ++k) same = t[i + k] == t[i - d + k];
                if (!same) break;
                best = std::min(best, 2 + cost[i + len]);
            }
        cost[i] = best;
    }
    return cost[0];
}

}  // namespace vaelo::booktool
