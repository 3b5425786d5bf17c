#include "device/libusb/libusb_backend.h"

#include <libusb.h>

#include <algorithm>
#include <array>
#include <climits>

#include "device/libusb/usb_arrival_watch.h"

namespace fwup::libusb {

static_assert(kUsbSuccess == LIBUSB_SUCCESS && kUsbErrorIo == LIBUSB_ERROR_IO &&
              kUsbErrorAccess == LIBUSB_ERROR_ACCESS &&
              kUsbErrorNoDevice == LIBUSB_ERROR_NO_DEVICE &&
              kUsbErrorNotFound == LIBUSB_ERROR_NOT_FOUND && kUsbErrorBusy == LIBUSB_ERROR_BUSY &&
              kUsbErrorTimeout == LIBUSB_ERROR_TIMEOUT &&
              kUsbErrorOverflow == LIBUSB_ERROR_OVERFLOW && kUsbErrorPipe == LIBUSB_ERROR_PIPE &&
              kUsbErrorNotSupported == LIBUSB_ERROR_NOT_SUPPORTED);

namespace {

struct ContextDeleter {
    void operator()(libusb_context* context) const { libusb_exit(context); }
};
struct DeviceListDeleter {
    void operator()(libusb_device** list) const { libusb_free_device_list(list, 1); }
};
struct ConfigDeleter {
    void operator()(libusb_config_descriptor* config) const {
        libusb_free_config_descriptor(config);
    }
};
struct HandleDeleter {
    void operator()(libusb_device_handle* handle) const { libusb_close(handle); }
};

// Lists and handles share the context: libusb_exit must not run while either is alive.
using SharedContext = std::shared_ptr<libusb_context>;
using UniqueDeviceList = std::unique_ptr<libusb_device*, DeviceListDeleter>;
using UniqueConfig = std::unique_ptr<libusb_config_descriptor, ConfigDeleter>;
using UniqueHandle = std::unique_ptr<libusb_device_handle, HandleDeleter>;

int ClampLength(std::size_t size) {
    return static_cast<int>(std::min<std::size_t>(size, INT_MAX));
}

class LibusbHandle final : public UsbDeviceHandle {
  public:
    LibusbHandle(SharedContext context, UniqueHandle handle)
        : context_(std::move(context)), handle_(std::move(handle)) {}

    int ReadStringAscii(std::uint8_t index, std::span<std::uint8_t> text) override {
        return libusb_get_string_descriptor_ascii(handle_.get(), index, text.data(),
                                                  ClampLength(text.size()));
    }
    int KernelDriverActive(std::uint8_t interfaceNumber) override {
        return libusb_kernel_driver_active(handle_.get(), interfaceNumber);
    }
    int DetachKernelDriver(std::uint8_t interfaceNumber) override {
        return libusb_detach_kernel_driver(handle_.get(), interfaceNumber);
    }
    int AttachKernelDriver(std::uint8_t interfaceNumber) override {
        return libusb_attach_kernel_driver(handle_.get(), interfaceNumber);
    }
    int ClaimInterface(std::uint8_t interfaceNumber) override {
        return libusb_claim_interface(handle_.get(), interfaceNumber);
    }
    int ReleaseInterface(std::uint8_t interfaceNumber) override {
        return libusb_release_interface(handle_.get(), interfaceNumber);
    }
    int SetAltSetting(std::uint8_t interfaceNumber, std::uint8_t alternateSetting) override {
        return libusb_set_interface_alt_setting(handle_.get(), interfaceNumber, alternateSetting);
    }

    UsbTransfer BulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data,
                        unsigned timeoutMs) override {
        // libusb takes one pointer type for both directions; it only reads an OUT buffer.
        return Bulk(endpoint, const_cast<std::uint8_t*>(data.data()), data.size(), timeoutMs);
    }
    UsbTransfer BulkIn(std::uint8_t endpoint, std::span<std::uint8_t> data,
                       unsigned timeoutMs) override {
        return Bulk(endpoint, data.data(), data.size(), timeoutMs);
    }

    int ControlIn(std::uint8_t requestType, std::uint8_t request, std::uint16_t value,
                  std::uint16_t index, std::span<std::uint8_t> data, unsigned timeoutMs) override {
        const auto length = static_cast<std::uint16_t>(std::min<std::size_t>(data.size(), 0xFFFF));
        return libusb_control_transfer(handle_.get(), requestType, request, value, index,
                                       data.data(), length, timeoutMs);
    }

  private:
    UsbTransfer Bulk(std::uint8_t endpoint, std::uint8_t* data, std::size_t size,
                     unsigned timeoutMs) {
        if (size > INT_MAX) {
            return {LIBUSB_ERROR_INVALID_PARAM, 0};
        }
        int transferred = 0;
        const int status = libusb_bulk_transfer(handle_.get(), endpoint, data,
                                                static_cast<int>(size), &transferred, timeoutMs);
        return {status, static_cast<std::size_t>(std::max(transferred, 0))};
    }

    SharedContext context_;  // declared first: outlives the handle
    UniqueHandle handle_;
};

UsbAltSetting CopyAltSetting(const libusb_interface_descriptor& source) {
    UsbAltSetting alt;
    alt.interfaceNumber = source.bInterfaceNumber;
    alt.alternateSetting = source.bAlternateSetting;
    alt.interfaceClass = source.bInterfaceClass;
    alt.interfaceSubClass = source.bInterfaceSubClass;
    alt.interfaceProtocol = source.bInterfaceProtocol;
    if (source.endpoint != nullptr) {
        for (int e = 0; e < source.bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor& endpoint = source.endpoint[e];
            alt.endpoints.push_back(
                {endpoint.bEndpointAddress, endpoint.bmAttributes, endpoint.wMaxPacketSize});
        }
    }
    return alt;
}

class LibusbDeviceList final : public UsbDeviceList {
  public:
    LibusbDeviceList(SharedContext context, UniqueDeviceList list, std::size_t count)
        : context_(std::move(context)), list_(std::move(list)), count_(count) {}

    std::size_t Count() const override { return count_; }

    bool Location(std::size_t index, UsbLocation& location) override {
        libusb_device* device = At(index);
        if (device == nullptr) {
            return false;
        }
        std::array<std::uint8_t, kMaxPortDepth> ports{};
        const int depth =
            libusb_get_port_numbers(device, ports.data(), static_cast<int>(ports.size()));
        if (depth < 0) {
            return false;
        }
        location.bus = libusb_get_bus_number(device);
        location.address = libusb_get_device_address(device);
        location.ports.assign(ports.begin(), ports.begin() + std::min<int>(depth, ports.size()));
        return true;
    }

    bool DeviceDescriptor(std::size_t index, UsbDeviceDescriptor& descriptor) override {
        libusb_device* device = At(index);
        libusb_device_descriptor raw{};
        if (device == nullptr || libusb_get_device_descriptor(device, &raw) != LIBUSB_SUCCESS) {
            return false;
        }
        descriptor.vendorId = raw.idVendor;
        descriptor.productId = raw.idProduct;
        descriptor.serialNumberIndex = raw.iSerialNumber;
        return true;
    }

    bool ActiveConfiguration(std::size_t index, UsbConfiguration& configuration) override {
        libusb_device* device = At(index);
        libusb_config_descriptor* raw = nullptr;
        if (device == nullptr ||
            libusb_get_active_config_descriptor(device, &raw) != LIBUSB_SUCCESS) {
            return false;
        }
        const UniqueConfig config(raw);
        configuration.interfaces.clear();
        if (config->interface == nullptr) {
            return true;
        }
        for (int i = 0; i < config->bNumInterfaces; ++i) {
            const libusb_interface& source = config->interface[i];
            UsbInterface copy;
            if (source.altsetting != nullptr) {
                for (int a = 0; a < source.num_altsetting; ++a) {
                    copy.altSettings.push_back(CopyAltSetting(source.altsetting[a]));
                }
            }
            configuration.interfaces.push_back(std::move(copy));
        }
        return true;
    }

    std::unique_ptr<UsbDeviceHandle> Open(std::size_t index) override {
        libusb_device* device = At(index);
        libusb_device_handle* raw = nullptr;
        if (device == nullptr || libusb_open(device, &raw) != LIBUSB_SUCCESS) {
            return nullptr;
        }
        return std::make_unique<LibusbHandle>(context_, UniqueHandle(raw));
    }

  private:
    libusb_device* At(std::size_t index) const {
        return index < count_ ? list_.get()[index] : nullptr;
    }

    SharedContext context_;  // declared first: outlives the list
    UniqueDeviceList list_;
    std::size_t count_;
};

class LibusbBackend final : public UsbBackend {
  public:
    explicit LibusbBackend(SharedContext context) : context_(std::move(context)) {}

    std::unique_ptr<UsbDeviceList> ListDevices() override {
        libusb_device** raw = nullptr;
        const ssize_t count = libusb_get_device_list(context_.get(), &raw);
        if (count < 0) {
            return nullptr;
        }
        return std::make_unique<LibusbDeviceList>(context_, UniqueDeviceList(raw),
                                                  static_cast<std::size_t>(count));
    }

    // A context of its own, so that its event thread never meets a channel's transfers.
    std::unique_ptr<ArrivalWatch> WatchArrivals() override {
        return MakeUsbArrivalWatch(DeviceTableVendorIds());
    }

  private:
    SharedContext context_;
};

}  // namespace

std::unique_ptr<UsbBackend> MakeLibusbBackend() {
    libusb_context* raw = nullptr;
    if (libusb_init(&raw) != LIBUSB_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<LibusbBackend>(SharedContext(raw, ContextDeleter{}));
}

}  // namespace fwup::libusb
