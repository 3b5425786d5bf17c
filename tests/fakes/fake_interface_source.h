#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/common/program_services.h"
#include "device/interface_source.h"
#include "scripted_channel.h"

namespace fwup::testing {

// An interface source over a fixed list of interfaces, each opening onto a ScriptedChannel the
// test keeps. Installed as the active source for the lifetime of the object.
class FakeInterfaceSource final : public InterfaceSource {
  public:
    struct Interface {
        std::wstring instanceId;
        std::wstring path;
        std::optional<std::uint32_t> portNumber;
        std::shared_ptr<ScriptedChannel> channel = std::make_shared<ScriptedChannel>();
        bool openFails = false;
        SetLookup idLookup = SetLookup::kFound;
        InterfaceLookup pathLookup = InterfaceLookup::kFound;
    };

    FakeInterfaceSource() = default;
    FakeInterfaceSource(const FakeInterfaceSource&) = delete;
    FakeInterfaceSource& operator=(const FakeInterfaceSource&) = delete;

    // Adds a device whose first printing interface has port number `port` (none: no port
    // number) and returns its channel. By default a supported printer.
    ScriptedChannel& AddPrinter(std::optional<std::uint32_t> port,
                                const std::wstring& hardId = L"USB\\VID_5A7C&PID_B101") {
        const std::wstring serial = L"SER" + std::to_wstring(interfaces.size());
        interfaces.push_back(
            {hardId + L"\\" + serial,
             L"\\\\?\\usb#vid_5a7c&pid_b101#" + serial + L"#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}",
             port});
        return *interfaces.back().channel;
    }

    std::unique_ptr<DeviceInterfaceSet> OpenSet() override {
        ++setsOpened;
        if (setFails) {
            return nullptr;
        }
        return std::make_unique<Set>(*this);
    }

    std::optional<std::uint32_t> PortNumber(const std::wstring& path) override {
        for (const Interface& i : interfaces) {
            if (i.path == path) {
                return i.portNumber;
            }
        }
        return std::nullopt;
    }

    UsbChannel OpenInterface(const std::wstring& path) override {
        openedPaths.push_back(path);
        for (const Interface& i : interfaces) {
            if (i.path == path && !i.openFails) {
                return std::make_unique<Proxy>(i.channel);
            }
        }
        return nullptr;
    }

    std::vector<Interface> interfaces;
    bool setFails = false;
    int setsOpened = 0;
    std::vector<std::wstring> openedPaths;

  private:
    const InstalledServices installed_{{.interfaces = this}};

    class Set final : public DeviceInterfaceSet {
      public:
        explicit Set(FakeInterfaceSource& owner) : owner_(owner) {}
        SetLookup DeviceInstanceId(std::uint32_t index, std::wstring& id) override {
            if (index >= owner_.interfaces.size()) {
                return SetLookup::kEnd;
            }
            id = owner_.interfaces[index].instanceId;
            return owner_.interfaces[index].idLookup;
        }
        InterfaceLookup DeviceInterfacePath(std::uint32_t index, std::wstring& path) override {
            if (index >= owner_.interfaces.size()) {
                return InterfaceLookup::kNoInterface;
            }
            path = owner_.interfaces[index].path;
            return owner_.interfaces[index].pathLookup;
        }

      private:
        FakeInterfaceSource& owner_;
    };

    // Lets the test keep the channel after the code under test has closed and released it.
    class Proxy final : public Channel {
      public:
        explicit Proxy(std::shared_ptr<ScriptedChannel> channel) : channel_(std::move(channel)) {}
        long Write(std::span<const std::uint8_t> bytes) override { return channel_->Write(bytes); }
        long Read(std::span<std::uint8_t> buffer) override { return channel_->Read(buffer); }
        VendorReply VendorRequest(std::span<const std::uint8_t, 3> input,
                                  std::span<std::uint8_t> output) override {
            return channel_->VendorRequest(input, output);
        }
        void Close() override { channel_->Close(); }

      private:
        std::shared_ptr<ScriptedChannel> channel_;
    };
};

}  // namespace fwup::testing
