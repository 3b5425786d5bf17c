#include "device/interface_source.h"

#include "base/process_slot.h"

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

ServiceSlot<InterfaceSource> installedSource;

}  // namespace

InterfaceSource& ActiveInterfaceSource() {
    static EmptySource emptySource;
    return installedSource.Or(emptySource);
}

InterfaceSource* SetActiveInterfaceSource(InterfaceSource* source) {
    return installedSource.Exchange(source);
}

}  // namespace fwup
