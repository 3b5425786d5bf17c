// Windows: a mutex another user made first at the lock's name must not pass for another run's
// (which would block the printer for good) nor be taken for this run's. Where the system has
// private namespaces the lock is not in Global\ at all; under Wine 8, which has none, the owner
// of the mutex found there decides.
#include <windows.h>
// After windows.h.
#include <sddl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>

#include "base/fnv1a.h"
#include "base/wide_text.h"
#include "upgrade/printer_lock.h"

namespace fwup {
namespace {

bool PrivateNamespaces() {
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    return GetProcAddress(kernel32, "CreatePrivateNamespaceW") != nullptr;
}

std::wstring FallbackName(const std::filesystem::path& place, const std::wstring& key) {
    const std::string utf8 = ToUtf8(place.wstring());
    const std::uint64_t digest = Fnv1a64Digest(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()));
    return L"Global\\viruzu-fwup-" + std::to_wstring(digest) + L"-" + key;
}

TEST(PrinterLockMutex, ASquattersMutexIsARefusalNotAnotherRun) {
    const std::filesystem::path place = L"C:\\squatted-lock-test";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    // Another user's, open to everyone, as a squatter would leave it.
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"O:S-1-5-21-1-2-3-1001D:(A;;GA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    HANDLE squatted = CreateMutexW(&attributes, FALSE, FallbackName(place, L"KEY").c_str());
    const DWORD error = GetLastError();
    LocalFree(descriptor);
    if (squatted == nullptr) {
        GTEST_SKIP() << "this system would not make a mutex owned by another user (" << error
                     << ")";
    }

    PrinterLockClaim claim = TakeHostPrinterLock(L"KEY", place);

    EXPECT_EQ(claim.claim, PrivateNamespaces() ? LockClaim::kTaken : LockClaim::kUnavailable)
        << ToUtf8(claim.detail);
    CloseHandle(squatted);
}

}  // namespace
}  // namespace fwup
