#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "protocol/package_digest.h"

namespace fwup {

// The two embedded firmware packages, resources of type BINARY.
inline constexpr int kPackagePlainId = 3000;      // sent while bFwEncrypted is clear
inline constexpr int kPackageEncryptedId = 3001;  // sent once the printer asked for encryption

// Where the bytes of BINARY resources come from: the executable itself, or a test's stand-in.
class ResourceSource {
  public:
    virtual ~ResourceSource() = default;
    // The size in bytes of resource `id`, found without reading its bytes; none when there is no
    // such resource or it cannot be loaded.
    virtual std::optional<std::uint32_t> Size(int id) = 0;
    // The resource's bytes where they lie, valid for the life of the process (the executable's
    // image, never a copy); none when absent or unreadable.
    virtual std::optional<std::span<const std::uint8_t>> Bytes(int id) = 0;
    // The digest the build recorded beside resource `id`'s bytes; none when there is none.
    virtual std::optional<PackageDigest> RecordedDigest(int id) = 0;
    // Hints that `bytes`, given out by Bytes, will not be read again soon, so the memory holding
    // them may go back to the system. They stay readable: touched again, they are brought back
    // from where they came. Bytes that are not wholly the source's own are left alone.
    virtual void Release(std::span<const std::uint8_t> bytes) { (void)bytes; }
};

// The executable's own resources (defined in the platform folder): PE resources on Windows,
// data linked in with the package embedding on Linux.
ResourceSource& ExecutableResources();

// The source LoadBinaryResource reads: the executable's until another is installed; nullptr
// restores it. Install before any worker thread starts; the source installed before is returned.
ResourceSource& ActiveResourceSource();
ResourceSource* SetActiveResourceSource(ResourceSource* source);

// Looks up BINARY resource `resourceId`. Returns 0 when `size` is null or the resource is absent
// or cannot be loaded; otherwise stores its size in `*size` and returns 1. With `bytes` null
// that is all (a size query); otherwise `*bytes` receives a view of the resource's bytes in
// place, and 0 is returned when they cannot be reached. Nothing is copied, so a 190 MB package
// costs no heap at all.
int LoadBinaryResource(std::span<const std::uint8_t>* bytes, std::uint32_t* size, int resourceId);

// The digest recorded for BINARY resource `resourceId` when the program was built, from the
// active source; none when it has none.
std::optional<PackageDigest> RecordedPackageDigest(int resourceId);

// Passes the hint to the active source (see ResourceSource::Release): a package streamed from
// the executable's image then holds only the pages around the point being sent, not all it has
// passed.
void ReleaseBinaryResourceBytes(std::span<const std::uint8_t> bytes);

}  // namespace fwup
