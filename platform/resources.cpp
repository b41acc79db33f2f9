#include "platform/resources.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vaelo::platform {
namespace {

constexpr std::uint8_t kMagic[4] = {'V', 'R', 'S', 'C'};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kEntrySize = 12;

std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
bool Fail(std::string* error, std::string why) {
    if (error) *error = std::move(why);
    return false;
}

}  // namespace

bool ResourceContainer::Parse(ResourceBytes bytes, std::string* error) {
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, 4) != 0)
        return Fail(error, "not a resource container (bad signature)");
    const std::uint8_t* base = bytes.data();
    if (Get16(base + 4) != kVersion) return Fail(error, "unsupported resource container version");
    const std::size_t count = Get16(base + 6);
    if (bytes.size() < kHeaderSize + count * kEntrySize)
        return Fail(error, "resource container is cut short in its table");
    entries_.clear();
    entries_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = base + kHeaderSize + i * kEntrySize;
        const std::uint64_t offset = Get32(e + 4);
        const std::uint64_t size = Get32(e + 8);
        if (offset > bytes.size() || size > bytes.size() - offset)
            return Fail(error, "resource " + std::to_string(Get16(e + 2)) + " of type " +
                                   std::to_string(Get16(e)) + " lies outside the container");
        entries_.push_back({Get16(e), Get16(e + 2), bytes.subspan(offset, size)});
    }
    auto key = [](const Entry& a) { return std::pair(a.type, a.id); };
    std::sort(entries_.begin(), entries_.end(),
              [&](const Entry& a, const Entry& b) { return key(a) < key(b); });
    for (std::size_t i = 1; i < entries_.size(); ++i)
        if (key(entries_[i - 1]) == key(entries_[i]))
            return Fail(error, "resource " + std::to_string(entries_[i].id) + " of type " +
                                   std::to_string(entries_[i].type) + " appears twice");
    return true;
}

std::optional<ResourceContainer> ResourceContainer::View(ResourceBytes bytes, std::string* error) {
    ResourceContainer c;
    if (!c.Parse(bytes, error)) return std::nullopt;
    return c;
}

std::optional<ResourceContainer> ResourceContainer::Own(std::vector<std::uint8_t> bytes,
                                                        std::string* error) {
    ResourceContainer c;
    c.owned_ = std::move(bytes);
    // The entries view owned_, whose buffer stays put when the container is moved.
    if (!c.Parse(c.owned_, error)) return std::nullopt;
    return c;
}

std::optional<ResourceContainer> ResourceContainer::ReadFile(const std::string& path,
                                                             std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Fail(error, "cannot open " + path);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) {
        Fail(error, "cannot read " + path);
        return std::nullopt;
    }
    std::string why;
    auto c = Own(std::move(bytes), &why);
    if (!c) Fail(error, path + ": " + why);
    return c;
}

std::optional<ResourceBytes> ResourceContainer::Find(ResourceType type, std::uint16_t id) const {
    const auto want = std::pair(static_cast<std::uint16_t>(type), id);
    auto it = std::lower_bound(entries_.begin(), entries_.end(), want,
                               [](const Entry& e, const auto& k) { return std::pair(e.type, e.id) < k; });
    if (it == entries_.end() || std::pair(it->type, it->id) != want) return std::nullopt;
    return it->bytes;
}

std::vector<std::uint8_t> WriteResourceContainer(
    const std::map<std::pair<std::uint16_t, std::uint16_t>, std::vector<std::uint8_t>>& resources) {
    std::vector<std::uint8_t> out(kMagic, kMagic + 4);
    Put16(out, kVersion);
    Put16(out, static_cast<std::uint32_t>(resources.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(kHeaderSize + resources.size() * kEntrySize);
    for (const auto& [key, bytes] : resources) {
        Put16(out, key.first);
        Put16(out, key.second);
        Put32(out, offset);
        Put32(out, static_cast<std::uint32_t>(bytes.size()));
        offset += static_cast<std::uint32_t>(bytes.size());
    }
    for (const auto& [key, bytes] : resources) out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

}  // namespace vaelo::platform
