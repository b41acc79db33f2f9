// vaelo-rc: checks and compiles the user-interface resources named by a manifest into a
// resource container, merged with another container (the book) when one is given.
//
//   vaelo-rc MANIFEST -o OUT [--merge CONTAINER]
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "platform/resources.h"
#include "platform/ui_resources.h"

namespace {

using namespace vaelo::platform;
using Key = std::pair<std::uint16_t, std::uint16_t>;

bool ReadText(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream s;
    s << in.rdbuf();
    out = s.str();
    return true;
}

int Fail(const std::string& where, const std::string& why) {
    std::cerr << where << ": " << why << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string manifest, out, merge;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-o" && i + 1 < argc) out = argv[++i];
        else if (a == "--merge" && i + 1 < argc) merge = argv[++i];
        else if (manifest.empty()) manifest = a;
        else return Fail("vaelo-rc", "unexpected argument " + a);
    }
    if (manifest.empty() || out.empty()) {
        std::cerr << "usage: vaelo-rc MANIFEST -o OUT [--merge CONTAINER]\n";
        return 2;
    }
    std::map<Key, std::vector<std::uint8_t>> resources;
    if (!merge.empty()) {
        std::string why;
        auto book = ResourceContainer::ReadFile(merge, &why);
        if (!book) return Fail(merge, why);
        for (const auto& e : book->Entries())
            resources[{e.type, e.id}] = std::vector<std::uint8_t>(e.bytes.begin(), e.bytes.end());
    }
    const std::string dir = manifest.find('/') == std::string::npos ? "." : manifest.substr(0, manifest.rfind('/'));
    std::string text;
    if (!ReadText(manifest, text)) return Fail(manifest, "cannot read");
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    auto add = [&](ResourceType type, int id, std::vector<std::uint8_t> bytes, const std::string& where) {
        const Key key{static_cast<std::uint16_t>(type), static_cast<std::uint16_t>(id)};
        if (resources.count(key)) return Fail(where, "resource " + std::to_string(id) + " is defined twice");
        resources[key] = std::move(bytes);
        return 0;
    };
    while (std::getline(lines, line)) {
        ++number;
        const std::string where = manifest + ":" + std::to_string(number);
        std::istringstream words(line);
        std::string kind, file;
        int id = 0;
        if (!(words >> kind) || kind[0] == '#') continue;
        if (kind == "strings") {
            words >> file;
        } else if (!(words >> id >> file) || id <= 0 || id > 0xFFFF) {
            return Fail(where, "KIND ID FILE expected");
        }
        const std::string path = dir + "/" + file;
        std::string source, why;
        if (!ReadText(path, source)) return Fail(where, "cannot read " + path);
        if (kind == "menu") {
            if (!ParseMenu(source, &why)) return Fail(path, why);
            if (add(ResourceType::Menu, id, {source.begin(), source.end()}, where)) return 1;
        } else if (kind == "dialog") {
            if (!ParseDialog(source, &why)) return Fail(path, why);
            if (add(ResourceType::Dialog, id, {source.begin(), source.end()}, where)) return 1;
        } else if (kind == "bitmap" || kind == "icon") {
            auto bitmap = ParseBitmapSource(source, &why);
            if (!bitmap) return Fail(path, why);
            if (add(kind == "icon" ? ResourceType::Icon : ResourceType::Bitmap, id, EncodeBitmap(*bitmap), where))
                return 1;
        } else if (kind == "strings") {
            std::istringstream sl(source);
            std::string s;
            int n = 0;
            while (std::getline(sl, s)) {
                ++n;
                const std::string at = path + ":" + std::to_string(n);
                if (s.empty() || s[0] == '#') continue;
                const auto q1 = s.find('"'), q2 = s.rfind('"');
                int sid = 0;
                if (q1 == std::string::npos || q2 <= q1 || std::sscanf(s.c_str(), "%d", &sid) != 1 || sid <= 0 ||
                    sid > 0xFFFF)
                    return Fail(at, "ID \"text\" expected");
                const std::string value = s.substr(q1 + 1, q2 - q1 - 1);
                if (add(ResourceType::String, sid, {value.begin(), value.end()}, at)) return 1;
            }
        } else {
            return Fail(where, "unknown kind " + kind);
        }
    }
    const auto bytes = WriteResourceContainer(resources);
    std::ofstream o(out, std::ios::binary | std::ios::trunc);
    o.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!o) return Fail(out, "cannot write");
    return 0;
}
