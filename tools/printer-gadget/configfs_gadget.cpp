#include "configfs_gadget.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

namespace fwup::gadget {
namespace {

const std::filesystem::path kGadgets = "/sys/kernel/config/usb_gadget";

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x", value & 0xFFFF);
    return text;
}

// configfs attributes take one write each; a stream buffers the text into a single one.
bool WriteAttribute(const std::filesystem::path& file, const std::string& value) {
    std::ofstream out(file);
    out << value;
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace

ConfigfsGadget::ConfigfsGadget(std::string name, const UsbIdentity& identity)
    : name_(std::move(name)), root_(kGadgets / name_), mountPoint_("/dev/ffs-" + name_) {
    std::error_code ec;
    const std::filesystem::path strings = root_ / "strings/0x409";
    const std::filesystem::path config = root_ / "configs/c.1";
    const std::filesystem::path function = root_ / ("functions/ffs." + name_);
    if (!std::filesystem::create_directory(root_, ec) || ec) {
        Fail("cannot make " + root_.string() + ": " + ec.message());
        return;
    }
    std::filesystem::create_directory(strings, ec);
    std::filesystem::create_directory(config, ec);
    std::filesystem::create_directory(config / "strings/0x409", ec);
    std::filesystem::create_directory(function, ec);
    if (ec) {
        Fail("cannot make the gadget's folders: " + ec.message());
        return;
    }
    const bool written =
        WriteAttribute(root_ / "idVendor", Hex4(identity.vendorId)) &&
        WriteAttribute(root_ / "idProduct", Hex4(identity.productId)) &&
        WriteAttribute(root_ / "bcdUSB", "0x0200") &&
        WriteAttribute(strings / "manufacturer", "Viruzu") &&
        WriteAttribute(strings / "product", identity.model) &&
        (identity.serial.empty() || WriteAttribute(strings / "serialnumber", identity.serial)) &&
        WriteAttribute(config / "strings/0x409/configuration", "Printer") &&
        WriteAttribute(config / "MaxPower", "2");
    if (!written) {
        Fail("cannot write the gadget's attributes");
        return;
    }
    std::filesystem::create_directory_symlink(function, config / ("ffs." + name_), ec);
    if (ec) {
        Fail("cannot add the function to the configuration: " + ec.message());
        return;
    }
    std::filesystem::create_directory(mountPoint_, ec);
    if (::mount(name_.c_str(), mountPoint_.c_str(), "functionfs", 0, nullptr) != 0) {
        Fail("cannot mount functionfs at " + mountPoint_.string() + ": " + std::strerror(errno));
        return;
    }
    mounted_ = true;
}

ConfigfsGadget::~ConfigfsGadget() {
    TearDown();
}

bool ConfigfsGadget::Bind(const std::string& udc) {
    return WriteAttribute(root_ / "UDC", udc);
}

void ConfigfsGadget::Unbind() {
    WriteAttribute(root_ / "UDC", "\n");
}

void ConfigfsGadget::Fail(const std::string& what) {
    error_ = what;
    TearDown();
}

// Each step may fail when the set-up stopped early; the rest still runs.
void ConfigfsGadget::TearDown() {
    std::error_code ec;
    if (std::filesystem::exists(root_ / "UDC", ec)) {
        Unbind();
    }
    if (mounted_) {
        ::umount(mountPoint_.c_str());
        mounted_ = false;
    }
    std::filesystem::remove(mountPoint_, ec);
    const std::filesystem::path config = root_ / "configs/c.1";
    std::filesystem::remove(config / ("ffs." + name_), ec);
    // configfs folders go with rmdir, innermost first; their attribute files cannot be deleted.
    for (const std::filesystem::path& folder :
         {config / "strings/0x409", config, root_ / ("functions/ffs." + name_),
          root_ / "strings/0x409", root_}) {
        ::rmdir(folder.c_str());
    }
}

}  // namespace fwup::gadget
