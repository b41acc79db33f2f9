// Resources by (type, numeric id): the book's articles and index, dialog templates, menus,
// bitmaps and the icon. They live in one container (docs/resource-container.md), built into
// the program at compile time or read from a file.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace vaelo::platform {

enum class ResourceType : std::uint16_t {
    Bitmap = 2,
    Icon = 3,
    Menu = 4,
    Dialog = 5,
    String = 6,
    Accelerator = 9,
    RawData = 10,
};

using ResourceBytes = std::span<const std::uint8_t>;

// A parsed container. It either views bytes that outlive it (the built-in book) or owns them
// (a file read at run time).
class ResourceContainer {
public:
    struct Entry {
        std::uint16_t type = 0;
        std::uint16_t id = 0;
        ResourceBytes bytes;
    };

    // Parses a container that views `bytes`; on a malformed container returns nullopt and
    // says why in *error.
    static std::optional<ResourceContainer> View(ResourceBytes bytes, std::string* error);
    // Parses a container that keeps `bytes`.
    static std::optional<ResourceContainer> Own(std::vector<std::uint8_t> bytes, std::string* error);
    // Reads and parses a container file.
    static std::optional<ResourceContainer> ReadFile(const std::string& path, std::string* error);

    // The bytes of a resource, or nullopt when there is none. A resource may be empty.
    std::optional<ResourceBytes> Find(ResourceType type, std::uint16_t id) const;
    const std::vector<Entry>& Entries() const { return entries_; }

    ResourceContainer(ResourceContainer&&) noexcept = default;
    ResourceContainer& operator=(ResourceContainer&&) noexcept = default;

private:
    ResourceContainer() = default;
    bool Parse(ResourceBytes bytes, std::string* error);

    std::vector<std::uint8_t> owned_;
    std::vector<Entry> entries_;  // sorted by (type, id)
};

// Writes a container from (type, id) → bytes; ids of one type are unique by construction.
std::vector<std::uint8_t> WriteResourceContainer(
    const std::map<std::pair<std::uint16_t, std::uint16_t>, std::vector<std::uint8_t>>& resources);

// The program's resources as a platform role.
class Resources {
public:
    virtual ~Resources() = default;
    virtual std::optional<ResourceBytes> Find(ResourceType type, std::uint16_t id) = 0;
};

// Resources served from one container.
class ContainerResources final : public Resources {
public:
    explicit ContainerResources(ResourceContainer container) : container_(std::move(container)) {}
    std::optional<ResourceBytes> Find(ResourceType type, std::uint16_t id) override {
        return container_.Find(type, id);
    }
    const ResourceContainer& Container() const { return container_; }

private:
    ResourceContainer container_;
};

}  // namespace vaelo::platform
