#include "ui/win32/host_os_version.h"

#include <windows.h>

namespace fwup {
namespace {

constexpr LONG kStatusSuccess = 0;

bool ReadKernelVersion(OSVERSIONINFOEXW& info) {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const FARPROC found = ntdll != nullptr ? GetProcAddress(ntdll, "RtlGetVersion") : nullptr;
    const auto rtlGetVersion =
        reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void (*)()>(found));
    return rtlGetVersion != nullptr && rtlGetVersion(&info) == kStatusSuccess;
}

}  // namespace

std::optional<OsVersionFacts> QueryHostOsVersion() {
    OsVersionFacts facts;
    OSVERSIONINFOEXW extended{};
    extended.dwOSVersionInfoSize = sizeof(extended);
    if (ReadKernelVersion(extended) ||
        GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended)) != FALSE) {
        facts.extendedRecord = true;
        facts.platformId = extended.dwPlatformId;
        facts.majorVersion = extended.dwMajorVersion;
        facts.minorVersion = extended.dwMinorVersion;
        facts.productType = extended.wProductType;
    } else {
        OSVERSIONINFOW basic{};
        basic.dwOSVersionInfoSize = sizeof(basic);
        if (GetVersionExW(&basic) == FALSE) {
            return std::nullopt;
        }
        facts.platformId = basic.dwPlatformId;
        facts.majorVersion = basic.dwMajorVersion;
        facts.minorVersion = basic.dwMinorVersion;
    }
    facts.serverR2 = GetSystemMetrics(SM_SERVERR2) != 0;
    return facts;
}

}  // namespace fwup
