#include "platform/settings_store.h"

#include <utility>

namespace vaelo::platform {

std::size_t SettingValue::StoredSize() const {
    switch (type) {
        case ValueType::Number: return 4;
        case ValueType::String: return (text.size() + 1) * 2;
        case ValueType::Bytes: return bytes.size();
    }
    return 0;
}

std::string FoldName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string FoldKeyPath(const std::string& path) {
    std::string out = FoldName(path);
    while (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

const MemorySettingsStore::Key* MemorySettingsStore::FindKey(const std::string& keyPath) const {
    const std::string want = FoldKeyPath(keyPath);
    for (const Key& k : keys_)
        if (FoldKeyPath(k.path) == want) return &k;
    return nullptr;
}

MemorySettingsStore::Key* MemorySettingsStore::FindKey(const std::string& keyPath) {
    return const_cast<Key*>(std::as_const(*this).FindKey(keyPath));
}

MemorySettingsStore::Key& MemorySettingsStore::KeyFor(const std::string& keyPath) {
    if (Key* k = FindKey(keyPath)) return *k;
    std::string path = keyPath;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    keys_.push_back({path, {}});
    return keys_.back();
}

bool MemorySettingsStore::KeyExists(const std::string& keyPath) const {
    // A key exists when it was written, or when a key under it was.
    const std::string want = FoldKeyPath(keyPath);
    for (const Key& k : keys_) {
        const std::string have = FoldKeyPath(k.path);
        if (have == want || (have.size() > want.size() && have.compare(0, want.size(), want) == 0 &&
                             have[want.size()] == '\\'))
            return true;
    }
    return false;
}

std::optional<SettingValue> MemorySettingsStore::Read(const std::string& keyPath,
                                                      const std::string& name) const {
    const Key* k = FindKey(keyPath);
    if (!k) return std::nullopt;
    const std::string want = FoldName(name);
    for (const Value& v : k->values)
        if (FoldName(v.name) == want) return v.value;
    return std::nullopt;
}

bool MemorySettingsStore::Write(const std::string& keyPath, const std::string& name,
                                const SettingValue& value) {
    Key& k = KeyFor(keyPath);
    const std::string want = FoldName(name);
    for (Value& v : k.values)
        if (FoldName(v.name) == want) {
            v.value = value;
            return true;
        }
    k.values.push_back({name, value});
    return true;
}

}  // namespace vaelo::platform
