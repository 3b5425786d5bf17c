#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/common/program_services.h"
#include "device/interface_source.h"

namespace fwup::testing {

// The Windows interface source, installed as the active one for the guard's lifetime.
class HostSourceGuard {
  public:
    HostSourceGuard() = default;
    HostSourceGuard(const HostSourceGuard&) = delete;
    HostSourceGuard& operator=(const HostSourceGuard&) = delete;

    InterfaceSource& source() { return *source_; }

  private:
    std::unique_ptr<InterfaceSource> source_ = MakeHostInterfaceSource();
    const InstalledServices installed_{{.interfaces = source_.get()}};
};

// A name no other test process or run uses at the same time: the process ID and a counter.
inline std::wstring UniqueTestTag() {
    static int counter = 0;
    return std::to_wstring(GetCurrentProcessId()) + L"x" + std::to_wstring(++counter);
}

}  // namespace fwup::testing
