#include "protocol/firmware_resource.h"

#include "base/process_slot.h"

namespace fwup {
namespace {

ServiceSlot<ResourceSource> installedSource;

}  // namespace

ResourceSource& ActiveResourceSource() {
    return installedSource.Or(ExecutableResources());
}

ResourceSource* SetActiveResourceSource(ResourceSource* source) {
    return installedSource.Exchange(source);
}

int LoadBinaryResource(std::span<const std::uint8_t>* bytes, std::uint32_t* size, int resourceId) {
    if (size == nullptr) {
        return 0;
    }
    ResourceSource& source = ActiveResourceSource();
    if (bytes == nullptr) {
        const std::optional<std::uint32_t> found = source.Size(resourceId);
        if (!found) {
            return 0;
        }
        *size = *found;
        return 1;
    }
    const std::optional<std::span<const std::uint8_t>> found = source.Bytes(resourceId);
    // A source that claims more than a 32-bit size is not a resource the platform could hold.
    if (!found || found->size() > UINT32_MAX) {
        return 0;
    }
    *bytes = *found;
    *size = static_cast<std::uint32_t>(found->size());
    return 1;
}

std::optional<PackageDigest> RecordedPackageDigest(int resourceId) {
    return ActiveResourceSource().RecordedDigest(resourceId);
}

void ReleaseBinaryResourceBytes(std::span<const std::uint8_t> bytes) {
    if (!bytes.empty()) {
        ActiveResourceSource().Release(bytes);
    }
}

}  // namespace fwup
