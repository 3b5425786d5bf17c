// The packages are PE resources of the executable (resources/windows/firmware.rc). A locked
// resource is a pointer into the mapped image, so sending it needs no copy.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "protocol/firmware_resource.h"

namespace fwup {
namespace {

constexpr const wchar_t* kResourceType = L"BINARY";

// A numeric resource id is 16 bits; anything else would be read as a name pointer.
bool IsResourceId(int id) {
    return id > 0 && id <= 0xFFFF;
}

// Finds and loads the resource; the handle of a loaded resource needs no release.
HRSRC FindLoadable(int id, HGLOBAL& loaded) {
    if (!IsResourceId(id)) {
        return nullptr;
    }
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), kResourceType);
    if (found == nullptr) {
        return nullptr;
    }
    loaded = LoadResource(nullptr, found);
    return loaded != nullptr ? found : nullptr;
}

class PeResources final : public ResourceSource {
  public:
    std::optional<std::uint32_t> Size(int id) override {
        HGLOBAL loaded = nullptr;
        HRSRC found = FindLoadable(id, loaded);
        if (found == nullptr) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(SizeofResource(nullptr, found));
    }

    std::optional<std::span<const std::uint8_t>> Bytes(int id) override {
        HGLOBAL loaded = nullptr;
        HRSRC found = FindLoadable(id, loaded);
        if (found == nullptr) {
            return std::nullopt;
        }
        const DWORD size = SizeofResource(nullptr, found);
        const void* locked = LockResource(loaded);
        if (locked == nullptr) {
            return std::nullopt;
        }
        return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(locked), size);
    }
};

}  // namespace

ResourceSource& ExecutableResources() {
    static PeResources resources;
    return resources;
}

}  // namespace fwup
