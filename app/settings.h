// The settings layer: fixed key paths, typed reads with their defaults, the writes, and the
// order in which the program values are read at start and written at the end.
#pragma once

#include <cstdint>
#include <string>

#include "platform/heap.h"

namespace vaelo {

inline constexpr const char* kProgramKey = "Software\\Tarvenco\\Vaelo";
inline constexpr const char* kOptionsKey = "software\\Tarvenco";

// A 32-bit number: the stored number, or, for a value of another type, its UTF-16 units read
// by the decimal rule (value × 10 + unit − 48 per unit, no sign, no check); the default when
// the key or value is missing.
std::uint32_t ReadNumber(const char* keyPath, const char* name, std::uint32_t fallback);
// A zero-terminated UTF-16 string from the program key, or nothing.
platform::HeapArray<char16_t> ReadString(const char* name);
// The stored bytes of a value of the program key, or nothing; *size gets their count.
platform::HeapBytes ReadBytes(const char* name, std::uint32_t* size = nullptr);
// Like ReadBytes; *size is left alone when the value is missing.
platform::HeapBytes ReadBytesSized(const char* name, std::uint32_t* size);

bool WriteNumber(const char* name, std::uint32_t number);
bool WriteString(const char* name, const char16_t* text);
bool WriteByteString(const char* name, const std::uint8_t* bytes);
bool WriteBytes(const char* name, const std::uint8_t* data, std::uint32_t length);

// The device options, read before anything else.
void ReadDeviceOptions();
// The program values, in their fixed order (program path, font, search string, numbers,
// index icons, bookmarks).
void LoadSettings();
// 0: keep a stored article, or start at article 1; n: switch to article n at row 0.
void SetCurrentArticle(std::uint16_t article);
// Saves every value, frees the views and bookmarks and asks the message loop to end with 0.
// Runs once; later calls do nothing.
void ShutDown();
// The allocation that ends the program in order when memory runs out: on failure it says so,
// runs ShutDown and returns nothing.
platform::HeapBytes AllocOrAbort(std::size_t size);

inline constexpr const char* kOutOfMemoryText = "There is not enough memory, aborting";

}  // namespace vaelo
