// Windows: a mutex per printer that every session sees. The handle's existence is the lock
// (nobody waits on or owns the mutex), so it does not matter which thread made it; the system
// closes it when the process ends, however it ends.
//
// A name in Global\ can be made first by any user, who then holds it for good and blocks every
// upgrade of the printer. So the mutex lives in a private namespace whose boundary is the
// Administrators group: only a process holding that group (the elevated programs, SYSTEM) can
// open or make the namespace, and the namespace's and the mutex's DACL let in SYSTEM and
// Administrators alone. Wine 8 exports no private namespace functions (kernel32 has only
// CreateBoundaryDescriptorW, which fails with ERROR_PROC_NOT_FOUND), so they are looked up at run
// time; where they are missing the mutex is Global\viruzu-fwup-<key> made with the same DACL, and
// one that exists already counts as another run's only when its owner is SYSTEM, Administrators
// or this user (Wine gives what its one user makes to the group S-1-5-21-0-0-0-513, the token's
// owner).
#include <windows.h>
// After windows.h.
#include <aclapi.h>
#include <sddl.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "base/fnv1a.h"
#include "base/wide_text.h"
#include "upgrade/printer_lock.h"

namespace fwup {
namespace {

constexpr const wchar_t* kNamespace = L"viruzu-fwup";
// SYSTEM and Administrators, nobody else; not inherited from anything.
constexpr const wchar_t* kAdminsOnly = L"D:P(A;;GA;;;SY)(A;;GA;;;BA)";

using CreateNamespaceFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPVOID, LPCWSTR);
using OpenNamespaceFn = HANDLE(WINAPI*)(LPVOID, LPCWSTR);
using CloseNamespaceFn = BOOLEAN(WINAPI*)(HANDLE, ULONG);
using CreateBoundaryFn = HANDLE(WINAPI*)(LPCWSTR, ULONG);
using AddSidFn = BOOL(WINAPI*)(HANDLE*, PSID);
using DeleteBoundaryFn = VOID(WINAPI*)(HANDLE);

template <typename Fn>
Fn Kernel32(const char* name) {
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    const FARPROC found = kernel32 != nullptr ? GetProcAddress(kernel32, name) : nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(found));
}

struct NamespaceCalls {
    CreateNamespaceFn create = Kernel32<CreateNamespaceFn>("CreatePrivateNamespaceW");
    OpenNamespaceFn open = Kernel32<OpenNamespaceFn>("OpenPrivateNamespaceW");
    CloseNamespaceFn close = Kernel32<CloseNamespaceFn>("ClosePrivateNamespace");
    CreateBoundaryFn createBoundary = Kernel32<CreateBoundaryFn>("CreateBoundaryDescriptorW");
    AddSidFn addSid = Kernel32<AddSidFn>("AddSIDToBoundaryDescriptor");
    DeleteBoundaryFn deleteBoundary = Kernel32<DeleteBoundaryFn>("DeleteBoundaryDescriptor");

    bool Present() const {
        return create && open && close && createBoundary && addSid && deleteBoundary;
    }
};

const NamespaceCalls& Namespaces() {
    static const NamespaceCalls calls;
    return calls;
}

class MutexLock final : public PrinterLock {
  public:
    MutexLock(HANDLE mutex, HANDLE privateNamespace, std::wstring key)
        : mutex_(mutex), namespace_(privateNamespace), key_(std::move(key)) {}
    ~MutexLock() override {
        CloseHandle(mutex_);
        if (namespace_ != nullptr) {
            Namespaces().close(namespace_, 0);
        }
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

    bool Guards(const DeviceEntry& printer) const override {
        return PrinterLockKey(printer.InstanceId) == key_;
    }

  private:
    HANDLE mutex_;
    HANDLE namespace_;
    std::wstring key_;
};

std::wstring PlaceTag(const std::filesystem::path& place) {
    const std::string utf8 = ToUtf8(place.wstring());
    const std::uint64_t digest = Fnv1a64Digest(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()));
    return std::to_wstring(digest) + L"-";
}

std::wstring Failed(const std::wstring& call, DWORD error) {
    return call + L" failed with " + std::to_wstring(error);
}

// The admins-only security attributes; the descriptor is freed with it.
class AdminsOnly {
  public:
    AdminsOnly() {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (ConvertStringSecurityDescriptorToSecurityDescriptorW(kAdminsOnly, SDDL_REVISION_1,
                                                                 &descriptor, nullptr)) {
            attributes_.lpSecurityDescriptor = descriptor;
        }
    }
    ~AdminsOnly() { LocalFree(attributes_.lpSecurityDescriptor); }
    AdminsOnly(const AdminsOnly&) = delete;
    AdminsOnly& operator=(const AdminsOnly&) = delete;

    bool Made() const { return attributes_.lpSecurityDescriptor != nullptr; }
    SECURITY_ATTRIBUTES* get() { return &attributes_; }

  private:
    SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

// The namespace, made or opened; null with `error` set when this process may not.
HANDLE OpenNamespace(SECURITY_ATTRIBUTES* attributes, std::wstring& error) {
    const NamespaceCalls& calls = Namespaces();
    HANDLE boundary = calls.createBoundary(kNamespace, 0);
    if (boundary == nullptr) {
        error = Failed(L"CreateBoundaryDescriptorW", GetLastError());
        return nullptr;
    }
    BYTE admins[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(admins);
    HANDLE made = nullptr;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &size) ||
        !calls.addSid(&boundary, admins)) {
        error = Failed(L"AddSIDToBoundaryDescriptor", GetLastError());
    } else {
        made = calls.create(attributes, boundary, kNamespace);
        if (made == nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
            made = calls.open(boundary, kNamespace);
        }
        if (made == nullptr) {
            const DWORD failure = GetLastError();
            error = failure == ERROR_ACCESS_DENIED
                        ? std::wstring(L"only administrators can take it (run elevated)")
                        : Failed(L"CreatePrivateNamespaceW", failure);
        }
    }
    calls.deleteBoundary(boundary);
    return made;
}

// Whether `sid` is this process's user or the owner its token gives what it makes (an elevated
// administrator's is Administrators; Wine's is its one user's group).
bool IsThisUser(PSID sid) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    bool same = false;
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size)) {
        same = EqualSid(sid, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid) != FALSE;
    }
    if (!same && GetTokenInformation(token, TokenOwner, buffer, sizeof(buffer), &size)) {
        same = EqualSid(sid, reinterpret_cast<TOKEN_OWNER*>(buffer)->Owner) != FALSE;
    }
    CloseHandle(token);
    return same;
}

// Whether the existing object behind `handle` was made by SYSTEM, Administrators or this user,
// as another run of this program makes it.
bool MadeByTrusted(HANDLE handle) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const bool trusted = owner != nullptr &&
                         (IsWellKnownSid(owner, WinLocalSystemSid) ||
                          IsWellKnownSid(owner, WinBuiltinAdministratorsSid) || IsThisUser(owner));
    LocalFree(descriptor);
    return trusted;
}

PrinterLockClaim TakeMutex(const std::wstring& key, const std::wstring& suffix) {
    AdminsOnly security;
    if (!security.Made()) {
        return {LockClaim::kUnavailable, nullptr,
                Failed(L"ConvertStringSecurityDescriptorToSecurityDescriptorW", GetLastError())};
    }
    HANDLE privateNamespace = nullptr;
    std::wstring name;
    if (Namespaces().Present()) {
        std::wstring error;
        privateNamespace = OpenNamespace(security.get(), error);
        if (privateNamespace == nullptr) {
            return {LockClaim::kUnavailable, nullptr, error};
        }
        name = std::wstring(kNamespace) + L"\\" + suffix;
    } else {
        name = L"Global\\viruzu-fwup-" + suffix;
    }
    HANDLE mutex = CreateMutexW(security.get(), FALSE, name.c_str());
    const DWORD error = GetLastError();
    auto refuse = [&](PrinterLockClaim claim) {
        if (mutex != nullptr) {
            CloseHandle(mutex);
        }
        if (privateNamespace != nullptr) {
            Namespaces().close(privateNamespace, 0);
        }
        return claim;
    };
    if (mutex == nullptr) {
        // Another run made it with the admins-only DACL, and this process is no administrator.
        if (error == ERROR_ACCESS_DENIED) {
            return refuse({LockClaim::kHeldElsewhere, nullptr, {}});
        }
        return refuse({LockClaim::kUnavailable, nullptr, Failed(L"CreateMutexW " + name, error)});
    }
    if (error == ERROR_ALREADY_EXISTS) {
        if (privateNamespace == nullptr && !MadeByTrusted(mutex)) {
            return refuse({LockClaim::kUnavailable, nullptr,
                           name + L" was made by a user who may not use the printer"});
        }
        return refuse({LockClaim::kHeldElsewhere, nullptr, {}});
    }
    return {LockClaim::kTaken, std::make_unique<MutexLock>(mutex, privateNamespace, key), {}};
}

}  // namespace

PrinterLockClaim TakeHostPrinterLock(std::wstring_view key,
                                     const std::optional<std::filesystem::path>& place) {
    return TakeMutex(std::wstring(key), (place ? PlaceTag(*place) : L"") + std::wstring(key));
}

PrinterLockClaim TakeHostDeviceLock(const DeviceEntry& printer) {
    const std::wstring key = PrinterLockKey(printer.InstanceId);
    return TakeMutex(key, key);
}

}  // namespace fwup
