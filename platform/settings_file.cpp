#include "platform/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/utf.h"

namespace vaelo::platform {
namespace {

constexpr const char* kHeader =
    "; Vaelo settings: one value a line under its [key]. Types: number, string, bytes.\n";

const char kHex[] = "0123456789ABCDEF";

// Quoted text: printable characters as UTF-8; quote, backslash and control characters as
// escapes, so every line stays one line.
void AppendQuoted(std::string& out, std::u16string_view text) {
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        const bool pair = u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (u == '"' || u == '\\') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u < 0x20 || u == 0x7F || (u >= 0xD800 && u <= 0xDFFF)) {
            out += "\\u";
            for (int s = 12; s >= 0; s -= 4) out += kHex[(u >> s) & 0xF];
        } else {
            AppendUtf8(out, u);
        }
    }
    out += '"';
}

void AppendQuoted(std::string& out, const std::string& utf8) {
    AppendQuoted(out, FromUtf8(utf8).value_or(u"?"));
}

// Reads a quoted text at line[pos]; pos ends after the closing quote.
std::optional<std::u16string> ReadQuoted(const std::string& line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    ++pos;
    std::u16string out;
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\') {
            if (pos + 1 >= line.size()) return std::nullopt;
            const char e = line[pos + 1];
            if (e == '"' || e == '\\') {
                out += static_cast<char16_t>(e);
                pos += 2;
            } else if (e == 'u') {
                if (pos + 6 > line.size()) return std::nullopt;
                unsigned v = 0;
                for (int k = 0; k < 4; ++k) {
                    const char h = line[pos + 2 + k];
                    const char* at = std::strchr(kHex, h >= 'a' && h <= 'f' ? h - 32 : h);
                    if (!at || h == 0) return std::nullopt;
                    v = v * 16 + static_cast<unsigned>(at - kHex);
                }
                out += static_cast<char16_t>(v);
                pos += 6;
            } else {
                return std::nullopt;
            }
            continue;
        }
        auto cp = NextUtf8(line, pos);
        if (!cp) return std::nullopt;
        if (*cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((*cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((*cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(*cp);
        }
    }
    return std::nullopt;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// Parses the part after "=": "number:N", "string:\"…\"" or "bytes:HH HH …".
std::optional<SettingValue> ParseValue(const std::string& rest) {
    const auto colon = rest.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const std::string type = Trim(rest.substr(0, colon));
    const std::string payload = Trim(rest.substr(colon + 1));
    if (type == "number") {
        if (payload.empty() || payload.size() > 10) return std::nullopt;
        std::uint64_t n = 0;
        for (char c : payload) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + static_cast<unsigned>(c - '0');
        }
        if (n > 0xFFFFFFFFu) return std::nullopt;
        return SettingValue::Number(static_cast<std::uint32_t>(n));
    }
    if (type == "string") {
        std::size_t pos = 0;
        auto text = ReadQuoted(payload, pos);
        if (!text || pos != payload.size()) return std::nullopt;
        return SettingValue::String(std::move(*text));
    }
    if (type == "bytes") {
        std::vector<std::uint8_t> bytes;
        std::istringstream in(payload);
        std::string tok;
        while (in >> tok) {
            if (tok.size() != 2) return std::nullopt;
            char* end = nullptr;
            const unsigned long v = std::strtoul(tok.c_str(), &end, 16);
            if (end != tok.c_str() + 2) return std::nullopt;
            bytes.push_back(static_cast<std::uint8_t>(v));
        }
        return SettingValue::Bytes(std::move(bytes));
    }
    return std::nullopt;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void MakeParents(const std::string& path) {
    for (std::size_t i = 1; i < path.size(); ++i)
        if (path[i] == '/') ::mkdir(path.substr(0, i).c_str(), 0700);
}

}  // namespace

std::string FileSettingsStore::Format(const std::vector<Key>& keys) {
    std::string out = kHeader;
    for (const Key& k : keys) {
        out += "\n[" + k.path + "]\n";
        for (const Value& v : k.values) {
            AppendQuoted(out, v.name);
            out += '=';
            switch (v.value.type) {
                case ValueType::Number:
                    out += "number:" + std::to_string(v.value.number);
                    break;
                case ValueType::String:
                    out += "string:";
                    AppendQuoted(out, v.value.text);
                    break;
                case ValueType::Bytes:
                    out += "bytes:";
                    for (std::size_t i = 0; i < v.value.bytes.size(); ++i) {
                        if (i) out += ' ';
                        out += kHex[v.value.bytes[i] >> 4];
                        out += kHex[v.value.bytes[i] & 0xF];
                    }
                    break;
            }
            out += '\n';
        }
    }
    return out;
}

std::vector<MemorySettingsStore::Key> FileSettingsStore::Parse(const std::string& text,
                                                               const std::string& fileName,
                                                               std::vector<std::string>* problems) {
    MemorySettingsStore store;
    std::string currentKey;
    bool haveKey = false;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    auto bad = [&](const std::string& why) {
        if (problems) problems->push_back(fileName + ":" + std::to_string(lineNo) + ": " + why);
    };
    while (std::getline(in, raw)) {
        ++lineNo;
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3 || !FromUtf8(line)) {
                bad("damaged key line, its values are skipped");
                haveKey = false;
                continue;
            }
            currentKey = line.substr(1, line.size() - 2);
            haveKey = true;
            continue;
        }
        if (!haveKey) {
            bad("value outside any usable key, skipped");
            continue;
        }
        std::size_t pos = 0;
        auto name = ReadQuoted(line, pos);
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        if (!name || pos >= line.size() || line[pos] != '=') {
            bad("damaged value line, skipped");
            continue;
        }
        auto value = ParseValue(line.substr(pos + 1));
        if (!value) {
            bad("damaged value of \"" + ToUtf8(*name) + "\", skipped");
            continue;
        }
        store.Write(currentKey, ToUtf8(*name), *value);
    }
    return store.Keys();
}

std::string FileSettingsStore::DefaultPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : ".") + "/.config";
    }
    return base + "/Vaelo/settings.vreg";
}

FileSettingsStore::FileSettingsStore(std::string path) : path_(std::move(path)) {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return;
    std::stringstream buf;
    buf << in.rdbuf();
    keys_ = Parse(buf.str(), path_, &problems_);
    keepDamagedCopy_ = !problems_.empty();
}

bool FileSettingsStore::Write(const std::string& keyPath, const std::string& name,
                              const SettingValue& value) {
    if (Read(keyPath, name) == value && !keepDamagedCopy_) return true;
    MemorySettingsStore::Write(keyPath, name, value);
    if (held_) {
        dirty_ = true;
        return true;
    }
    return Save();
}

bool FileSettingsStore::Commit() {
    held_ = false;
    if (!dirty_) return true;
    dirty_ = false;
    return Save();
}

bool FileSettingsStore::Save() {
    MakeParents(path_);
    if (keepDamagedCopy_) {
        // The lines we could not read are still in the old file: keep it beside the new one.
        const std::string aside = path_ + ".damaged";
        std::ifstream src(path_, std::ios::binary);
        std::ofstream dst(aside, std::ios::binary | std::ios::trunc);
        if (src && dst) dst << src.rdbuf();
        keepDamagedCopy_ = false;
    }
    const std::string tmp = path_ + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool ok = WriteAll(fd, Format(keys_)) && ::fsync(fd) == 0;
    ::close(fd);
    if (!ok || std::rename(tmp.c_str(), path_.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

}  // namespace vaelo::platform
