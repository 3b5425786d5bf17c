#include "device/interface_source.h"

#include <atomic>

namespace fwup {
namespace {

class EmptySource final : public InterfaceSource {
  public:
    std::unique_ptr<DeviceInterfaceSet> OpenSet() override { return std::make_unique<EmptySet>(); }
    std::optional<std::uint32_t> PortNumber(const std::wstring&) override { return std::nullopt; }
    UsbChannel OpenInterface(const std::wstring&) override { return nullptr; }

  private:
    class EmptySet final : public DeviceInterfaceSet {
      public:
        SetLookup DeviceInstanceId(std::uint32_t, std::wstring&) override {
            return SetLookup::kEnd;
        }
        InterfaceLookup DeviceInterfacePath(std::uint32_t, std::wstring&) override {
            return InterfaceLookup::kNoInterface;
        }
    };
};

std::atomic<InterfaceSource*> installedSource{nullptr};

}  // namespace

InterfaceSource& ActiveInterfaceSource() {
    static EmptySource emptySource;
    InterfaceSource* source = installedSource.load();
    return source != nullptr ? *source : emptySource;
}

void SetActiveInterfaceSource(InterfaceSource* source) {
    installedSource.store(source);
}

}  // namespace fwup
