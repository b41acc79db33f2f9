// The per-user settings store: a tree of keys, each holding named, typed values. Key paths
// and value names compare without regard to case, so "software\Tarvenco" is the parent of
// "Software\Tarvenco\Vaelo" and both name the same branch.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vaelo::platform {

enum class ValueType { Number, String, Bytes };

struct SettingValue {
    ValueType type = ValueType::Number;
    std::uint32_t number = 0;
    std::u16string text;             // String: the units without the terminator
    std::vector<std::uint8_t> bytes;  // Bytes: exactly the stored bytes

    static SettingValue Number(std::uint32_t n) { return {ValueType::Number, n, {}, {}}; }
    static SettingValue String(std::u16string s) { return {ValueType::String, 0, std::move(s), {}}; }
    static SettingValue Bytes(std::vector<std::uint8_t> b) {
        return {ValueType::Bytes, 0, {}, std::move(b)};
    }
    // The size the value takes in the store: a string counts its terminator, two bytes a unit.
    std::size_t StoredSize() const;
    friend bool operator==(const SettingValue&, const SettingValue&) = default;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual bool KeyExists(const std::string& keyPath) const = 0;
    // nullopt when the key or the value is missing.
    virtual std::optional<SettingValue> Read(const std::string& keyPath,
                                             const std::string& name) const = 0;
    // Creates the key (and its parents) when missing. False when the value could not be kept.
    virtual bool Write(const std::string& keyPath, const std::string& name,
                       const SettingValue& value) = 0;
    // Holds the writes that follow until Commit, which keeps them all at once: the many
    // values saved at exit cost one write of the store, not one each. Without Hold every
    // write is kept at once.
    virtual void Hold() {}
    virtual bool Commit() { return true; }
};

// Keys and values in memory, in the order they were first written.
class MemorySettingsStore : public SettingsStore {
public:
    bool KeyExists(const std::string& keyPath) const override;
    std::optional<SettingValue> Read(const std::string& keyPath,
                                     const std::string& name) const override;
    bool Write(const std::string& keyPath, const std::string& name,
               const SettingValue& value) override;

    struct Value {
        std::string name;  // spelling of the first write
        SettingValue value;
    };
    struct Key {
        std::string path;  // spelling of the first write
        std::vector<Value> values;
    };
    const std::vector<Key>& Keys() const { return keys_; }
    void Clear() { keys_.clear(); }

protected:
    Key* FindKey(const std::string& keyPath);
    const Key* FindKey(const std::string& keyPath) const;
    Key& KeyFor(const std::string& keyPath);

    std::vector<Key> keys_;
};

// Folds ASCII letters to lower case and drops trailing backslashes, so that paths compare as
// the store compares them.
std::string FoldKeyPath(const std::string& path);
std::string FoldName(const std::string& name);

}  // namespace vaelo::platform
