#pragma once

#include <filesystem>
#include <string>

#include "usb_identity.h"

namespace fwup::gadget {

// One USB gadget made through configfs with a single FunctionFS function, mounted at
// /dev/ffs-<name>. The destructor takes everything down again (unbound, unmounted, removed),
// so a UDC is free for the next printer.
class ConfigfsGadget {
  public:
    ConfigfsGadget(std::string name, const UsbIdentity& identity);
    ~ConfigfsGadget();
    ConfigfsGadget(const ConfigfsGadget&) = delete;
    ConfigfsGadget& operator=(const ConfigfsGadget&) = delete;

    // False, with a message, when a step of the set-up failed.
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    const std::filesystem::path& functionFsDir() const { return mountPoint_; }

    // Plugs the gadget into the UDC (dummy_udc.N): the host side sees a device arrive.
    bool Bind(const std::string& udc);
    // Pulls it out: the host side sees the device leave.
    void Unbind();

  private:
    void Fail(const std::string& what);
    void TearDown();

    std::string name_;
    std::filesystem::path root_;
    std::filesystem::path mountPoint_;
    bool mounted_ = false;
    std::string error_;
};

}  // namespace fwup::gadget
