// The packages are PE resources of the executable (resources/windows/firmware.rc). A locked
// resource is a pointer into the mapped image, so sending it needs no copy, and pages already
// sent can leave the working set: the image's pages come back from the file when touched.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "protocol/firmware_resource.h"
#include "protocol/resource_pages.h"

namespace fwup {
namespace {

constexpr const wchar_t* kResourceType = L"BINARY";
// The digest the build recorded beside each package, under the package's id.
constexpr const wchar_t* kDigestResourceType = L"XXH3_128";

// A numeric resource id is 16 bits; anything else would be read as a name pointer.
bool IsResourceId(int id) {
    return id > 0 && id <= 0xFFFF;
}

// Finds and loads the resource; the handle of a loaded resource needs no release.
HRSRC FindLoadable(int id, HGLOBAL& loaded, const wchar_t* type = kResourceType) {
    if (!IsResourceId(id)) {
        return nullptr;
    }
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
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
        return Locked(id, kResourceType);
    }

    std::optional<PackageDigest> RecordedDigest(int id) override {
        const std::optional<std::span<const std::uint8_t>> text = Locked(id, kDigestResourceType);
        if (!text) {
            return std::nullopt;
        }
        return ParseRecordedDigest(*text);
    }

    void Release(std::span<const std::uint8_t> bytes) override {
        SYSTEM_INFO system{};
        GetSystemInfo(&system);
        for (int id : {kPackagePlainId, kPackageEncryptedId}) {
            const std::optional<std::span<const std::uint8_t>> package = Bytes(id);
            if (!package) {
                continue;
            }
            const PageRange pages = WholePagesWithin(*package, bytes, system.dwPageSize);
            if (!pages.empty()) {
                // Unlocking pages that are not locked takes them out of the working set. Only a
                // hint: a failure (ERROR_NOT_LOCKED is the usual answer) changes no byte.
                (void)VirtualUnlock(reinterpret_cast<void*>(pages.begin), pages.size());
            }
        }
    }

  private:
    static std::optional<std::span<const std::uint8_t>> Locked(int id, const wchar_t* type) {
        HGLOBAL loaded = nullptr;
        HRSRC found = FindLoadable(id, loaded, type);
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
