#include "app/settings.h"

#include <algorithm>
#include <cstring>

#include "app/shell_state.h"
#include "bookmarks/bookmark_list.h"
#include "platform/platform.h"

namespace vaelo {
namespace {

constexpr std::uint16_t kIndexIconIds[3] = {201, 202, 203};

std::optional<platform::SettingValue> ReadValue(const char* keyPath, const char* name) {
    auto* store = platform::Current().settings;
    if (!store) return std::nullopt;
    return store->Read(keyPath, name);
}

bool Write(const char* name, const platform::SettingValue& value) {
    auto* store = platform::Current().settings;
    return store && store->Write(kProgramKey, name, value);
}

// The UTF-16 units of a value that is not a number: a string's own units, or the bytes of a
// bytes value taken two at a time, low byte first. Both end at a zero unit.
std::u16string UnitsOf(const platform::SettingValue& v) {
    if (v.type == platform::ValueType::String) return v.text;
    std::u16string units;
    for (std::size_t i = 0; i + 1 < v.bytes.size(); i += 2)
        units += static_cast<char16_t>(v.bytes[i] | (v.bytes[i + 1] << 8));
    return units;
}

}  // namespace

std::uint32_t ReadNumber(const char* keyPath, const char* name, std::uint32_t fallback) {
    auto value = ReadValue(keyPath, name);
    if (!value) return fallback;
    if (value->type == platform::ValueType::Number) return value->number;
    // Unsigned arithmetic: a long or odd string wraps instead of overflowing.
    std::uint32_t n = 0;
    for (char16_t unit : UnitsOf(*value)) {
        if (unit == 0) break;
        n = n * 10u + (static_cast<std::uint32_t>(unit) - 48u);
    }
    return n;
}

platform::HeapArray<char16_t> ReadString(const char* name) {
    auto value = ReadValue(kProgramKey, name);
    if (!value) return nullptr;
    const std::u16string units = UnitsOf(*value);
    auto block = platform::HeapArray<char16_t>(
        reinterpret_cast<char16_t*>(AllocOrAbort((units.size() + 1) * sizeof(char16_t)).release()));
    if (!block) return nullptr;
    std::copy(units.begin(), units.end(), block.get());
    block[units.size()] = 0;
    return block;
}

platform::HeapBytes ReadBytes(const char* name, std::uint32_t* size) {
    auto value = ReadValue(kProgramKey, name);
    if (!value) return nullptr;
    std::vector<std::uint8_t> bytes;
    switch (value->type) {
        case platform::ValueType::Bytes: bytes = value->bytes; break;
        case platform::ValueType::Number:
            for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value->number >> (8 * i)));
            break;
        case platform::ValueType::String:
            for (char16_t u : value->text) {
                bytes.push_back(static_cast<std::uint8_t>(u));
                bytes.push_back(static_cast<std::uint8_t>(u >> 8));
            }
            bytes.push_back(0);
            bytes.push_back(0);
            break;
    }
    platform::HeapBytes block = AllocOrAbort(bytes.size());
    if (!block) return nullptr;
    if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());
    if (size) *size = static_cast<std::uint32_t>(bytes.size());
    return block;
}

platform::HeapBytes ReadBytesSized(const char* name, std::uint32_t* size) {
    return ReadBytes(name, size);
}

bool WriteNumber(const char* name, std::uint32_t number) {
    return Write(name, platform::SettingValue::Number(number));
}

bool WriteString(const char* name, const char16_t* text) {
    return Write(name, platform::SettingValue::String(std::u16string(text)));
}

bool WriteByteString(const char* name, const std::uint8_t* bytes) {
    const std::size_t n = std::strlen(reinterpret_cast<const char*>(bytes));
    return Write(name, platform::SettingValue::Bytes({bytes, bytes + n + 1}));
}

bool WriteBytes(const char* name, const std::uint8_t* data, std::uint32_t length) {
    return Write(name, platform::SettingValue::Bytes({data, data + length}));
}

void ReadDeviceOptions() {
    DeviceOptions& o = Shell().options;
    o.ignoreActivate = ReadNumber(kOptionsKey, "IgnoreActivate", 0);
    o.fullScreen = ReadNumber(kOptionsKey, "FullScreen", 0);
    o.allowSipInHebrewSearch = ReadNumber(kOptionsKey, "AllowSipInHebrewSearch", 1);
    o.usesShellMenuBar = ReadNumber(kOptionsKey, "MenuBarOnBottom", 0);
    o.surroundingGutter = ReadNumber(kOptionsKey, "SurroundingGutter", 0);
}

void LoadSettings() {
    ShellState& s = Shell();
    if (auto* system = platform::Current().system) {
        std::u16string path = system->ProgramPath();
        if (path.size() > 259) path.resize(259);  // the path buffer holds 260 units
        if (!path.empty()) WriteString("Program Path", path.c_str());
    }
    if (auto face = ReadString("FontName"); face && face[0] != 0) {
        int i = 0;
        for (; i < FontSpec::kFaceUnits - 1 && face[i] != 0; ++i) s.fontSpec.faceName[i] = face[i];
        s.fontSpec.faceName[i] = 0;
    }
    std::uint32_t size = 0;
    if (auto bytes = ReadBytes("SearchString", &size); bytes && size > 0 && bytes[0] != 0) {
        std::uint32_t i = 0;
        for (; i < kSearchStringSize - 1 && i < size && bytes[i] != 0; ++i) s.searchString[i] = bytes[i];
        s.searchString[i] = 0;
    }
    s.fontSpec.fontSize = static_cast<std::int32_t>(ReadNumber(kProgramKey, "FontSize", 0));
    s.fontSpec.fontAsciiBase = static_cast<std::int32_t>(ReadNumber(kProgramKey, "FontAsciiBase", 1488));
    s.lastPosition = static_cast<std::uint16_t>(ReadNumber(kProgramKey, "LastPosition", 0));
    s.flags = ReadNumber(kProgramKey, "Flags", flags::kDefault);
    s.lesson = static_cast<std::uint16_t>(ReadNumber(kProgramKey, "Lesson", 0));
    if (auto* resources = platform::Current().resources)
        for (int i = 0; i < 3; ++i)
            s.indexIcons[i] = resources->Find(platform::ResourceType::Bitmap, kIndexIconIds[i]);
    s.indexIconsLoaded = true;
    s.bottomSection = ReadNumber(kProgramKey, "BottomSection", 12);
    s.bottomSectionLastPosition =
        static_cast<std::uint16_t>(ReadNumber(kProgramKey, "BottomSectionLastPosition", 0));
    LoadBookmarks(s.bookmarks);
}

void SetCurrentArticle(std::uint16_t article) {
    ShellState& s = Shell();
    if (article != 0) {
        if (s.lesson == article) return;
        s.lesson = article;
    } else {
        if (s.lesson != 0) return;
        s.lesson = 1;
    }
    s.lastPosition = 0;
}

void ShutDown() {
    ShellState& s = Shell();
    if (s.shutDownDone) return;  // exhausted memory during shutdown must not save twice
    s.shutDownDone = true;
    auto* store = platform::Current().settings;
    if (store) store->Hold();
    for (auto& icon : s.indexIcons) icon.reset();
    s.indexIconsLoaded = false;
    if (s.searchString[0] != 0) {
        s.searchString[kSearchStringSize - 1] = 0;  // the write reads up to a zero byte
        WriteByteString("SearchString", s.searchString);
    }
    if (s.fontSpec.HasFace()) {
        s.fontSpec.faceName[FontSpec::kFaceUnits - 1] = 0;
        WriteString("FontName", s.fontSpec.faceName);
    }
    if (s.fontSpec.fontSize != 0) WriteNumber("FontSize", static_cast<std::uint32_t>(s.fontSpec.fontSize));
    if (s.fontSpec.fontAsciiBase != 0)
        WriteNumber("FontAsciiBase", static_cast<std::uint32_t>(s.fontSpec.fontAsciiBase));
    if (s.mainView) WriteNumber("LastPosition", s.mainView->topRow);
    WriteNumber("Flags", s.flags);
    if (s.lesson != 0) WriteNumber("Lesson", s.lesson);
    if (s.mainView) {
        if (s.activeView == s.mainView.get()) s.activeView = nullptr;
        view::ReleaseTextView(s.mainView);
    }
    WriteNumber("BottomSection", s.bottomSection);
    if (s.bottomView) {
        WriteNumber("BottomSectionLastPosition", s.bottomView->topRow);
        if (s.activeView == s.bottomView.get()) s.activeView = nullptr;
        view::ReleaseTextView(s.bottomView);
    }
    SaveBookmarks(s.bookmarks);
    FreeBookmarks(s.bookmarks);
    if (store) store->Commit();
    s.quitRequested = true;
    s.exitCode = 0;
    if (auto* windows = platform::Current().windows) windows->PostQuit(0);
}

platform::HeapBytes AllocOrAbort(std::size_t size) {
    platform::HeapBytes block(static_cast<std::uint8_t*>(platform::HeapAllocate(size)));
    if (block) return block;
    if (auto* boxes = platform::Current().messageBoxes)
        boxes->Show(platform::kNoWindow, kOutOfMemoryText, std::string("Error"),
                    platform::mb::kIconError | platform::mb::kOk);
    ShutDown();
    return nullptr;
}

}  // namespace vaelo
