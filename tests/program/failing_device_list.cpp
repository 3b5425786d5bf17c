// Loaded into the console program with LD_PRELOAD: libusb's device listing fails as it does when
// the USB file system cannot be read, so the real discovery path reports its error.
#include <libusb.h>

extern "C" ssize_t libusb_get_device_list(libusb_context*, libusb_device*** list) {
    if (list != nullptr) {
        *list = nullptr;
    }
    return LIBUSB_ERROR_IO;
}
