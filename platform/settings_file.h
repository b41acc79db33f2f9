// The settings store kept in one human-readable text file (docs/settings-file.md). Every write
// replaces the file atomically: the new text goes to a temporary file beside it, is flushed to
// disk and renamed over the old one, so a kill at any moment leaves the old or the new file.
// Reading is forgiving: a damaged line is skipped and every other value is kept; the damaged
// file is copied aside before it is first overwritten, so nothing in it is lost for good.
#pragma once

#include <string>
#include <vector>

#include "platform/settings_store.h"

namespace vaelo::platform {

class FileSettingsStore final : public MemorySettingsStore {
public:
    // Loads `path` when it exists. Problems found while reading are kept in Problems().
    explicit FileSettingsStore(std::string path);

    // A value equal to the one stored is not written again.
    bool Write(const std::string& keyPath, const std::string& name,
               const SettingValue& value) override;
    void Hold() override { held_ = true; }
    bool Commit() override;

    const std::string& Path() const { return path_; }
    // One line per damaged line of the file: "FILE:LINE: what is wrong".
    const std::vector<std::string>& Problems() const { return problems_; }

    // The text form of a store, and its parser; the parser appends a message per bad line.
    static std::string Format(const std::vector<Key>& keys);
    static std::vector<Key> Parse(const std::string& text, const std::string& fileName,
                                  std::vector<std::string>* problems);

    // The settings file of this user: $XDG_CONFIG_HOME/Vaelo/settings.vreg, or
    // ~/.config/Vaelo/settings.vreg.
    static std::string DefaultPath();

private:
    bool Save();

    std::string path_;
    std::vector<std::string> problems_;
    bool keepDamagedCopy_ = false;
    bool held_ = false;
    bool dirty_ = false;
};

}  // namespace vaelo::platform
