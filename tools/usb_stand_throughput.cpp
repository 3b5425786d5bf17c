// usb-stand-throughput: SendElf against a plain libusb loop of 256 KiB bulk writes of the same
// package, over a real USB stack (the USB stand's guest), in back-to-back pairs in alternating
// order; for reference also a plain write loop through usblp's /dev/usb/lp0. Prints each pair and
// the medians as throughput ratios. SendElf checks the package's digest before it sends, a check
// no send may skip, so the main figure sets it against the same check plus the loop. Expects one
// TQ3800HKR (5a7c:b101) on USB001 with usblp bound.
//
//   usb-stand-throughput [pairs]

#include <fcntl.h>
#include <libusb.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/common/interface_source_factory.h"
#include "app/common/program_services.h"
#include "device/interface_source.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_transfer.h"
#include "protocol/result_codes.h"

namespace {

using namespace fwup;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kPiece = 256 * 1024;
constexpr unsigned kTimeoutMs = 60000;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double TimeSendElf() {
    const Clock::time_point start = Clock::now();
    return SendElf(kPackagePlainId, L"USB001") == kResultOk ? Since(start) : -1;
}

double TimeDigestCheck(std::span<const std::uint8_t> package) {
    const Clock::time_point start = Clock::now();
    return PackageMatchesRecordedDigest(kPackagePlainId, package) ? Since(start) : -1;
}

// The first bulk OUT endpoint of interface 0.
int OutEndpoint(libusb_device* device) {
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0) {
        return -1;
    }
    int address = -1;
    const libusb_interface_descriptor& setting = config->interface[0].altsetting[0];
    for (int i = 0; i < setting.bNumEndpoints && address < 0; ++i) {
        const libusb_endpoint_descriptor& endpoint = setting.endpoint[i];
        if ((endpoint.bEndpointAddress & LIBUSB_ENDPOINT_IN) == 0 &&
            (endpoint.bmAttributes & 3) == LIBUSB_TRANSFER_TYPE_BULK) {
            address = endpoint.bEndpointAddress;
        }
    }
    libusb_free_config_descriptor(config);
    return address;
}

double TimeLibusbLoop(std::span<const std::uint8_t> package) {
    const Clock::time_point start = Clock::now();
    libusb_device_handle* handle = libusb_open_device_with_vid_pid(nullptr, 0x5a7c, 0xb101);
    if (!handle) {
        return -1;
    }
    libusb_set_auto_detach_kernel_driver(handle, 1);
    const int endpoint = OutEndpoint(libusb_get_device(handle));
    bool whole = endpoint >= 0 && libusb_claim_interface(handle, 0) == 0;
    for (std::size_t at = 0; whole && at < package.size(); at += kPiece) {
        const std::size_t length = std::min(kPiece, package.size() - at);
        int sent = 0;
        whole = libusb_bulk_transfer(handle, static_cast<unsigned char>(endpoint),
                                     const_cast<unsigned char*>(package.data() + at),
                                     static_cast<int>(length), &sent, kTimeoutMs) == 0 &&
                static_cast<std::size_t>(sent) == length;
    }
    libusb_release_interface(handle, 0);
    libusb_close(handle);
    return whole ? Since(start) : -1;
}

double TimeUsblpLoop(std::span<const std::uint8_t> package) {
    const Clock::time_point start = Clock::now();
    const int fd = ::open("/dev/usb/lp0", O_WRONLY);
    if (fd < 0) {
        return -1;
    }
    bool whole = true;
    for (std::size_t at = 0; whole && at < package.size(); at += kPiece) {
        const std::size_t length = std::min(kPiece, package.size() - at);
        whole = ::write(fd, package.data() + at, length) == static_cast<ssize_t>(length);
    }
    ::close(fd);
    return whole ? Since(start) : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// usblp needs a moment after libusb gives the interface back before /dev/usb/lp0 is there.
void WaitForUsblp() {
    for (int i = 0; i < 100 && ::access("/dev/usb/lp0", W_OK) != 0; ++i) {
        ::usleep(50000);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::span<const std::uint8_t> package;
    std::uint32_t size = 0;
    if (!LoadBinaryResource(&package, &size, kPackagePlainId) || libusb_init(nullptr) != 0) {
        std::fprintf(stderr, "usb-stand-throughput: no package or no libusb\n");
        return 1;
    }
    std::optional<std::filesystem::path> scenarioFile;
    std::string error;
    const std::unique_ptr<InterfaceSource> source = MakeInterfaceSource(scenarioFile, error);
    if (!source || scenarioFile) {
        std::fprintf(stderr, "usb-stand-throughput: no USB interface source %s\n", error.c_str());
        return 1;
    }
    std::optional<InstalledServices> installed(std::in_place,
                                               ProgramServices{.interfaces = source.get()});
    std::vector<double> checkedShare;
    std::vector<double> sendElfShare;
    std::vector<double> usblpShare;
    for (int pair = 0; pair < pairs; ++pair) {
        double sendElf = 0;
        double check = 0;
        double loop = 0;
        if (pair % 2 == 0) {
            sendElf = TimeSendElf();
            check = TimeDigestCheck(package);
            loop = TimeLibusbLoop(package);
        } else {
            check = TimeDigestCheck(package);
            loop = TimeLibusbLoop(package);
            sendElf = TimeSendElf();
        }
        WaitForUsblp();
        const double usblp = TimeUsblpLoop(package);
        if (sendElf <= 0 || check <= 0 || loop <= 0 || usblp <= 0) {
            std::fprintf(stderr,
                         "usb-stand-throughput: a transfer failed in pair %d (SendElf %.3f s, "
                         "digest check %.3f s, libusb loop %.3f s, usblp loop %.3f s; -1: "
                         "failed)\n",
                         pair + 1, sendElf, check, loop, usblp);
            return 1;
        }
        std::printf(
            "pair %d: SendElf %.3f s, digest check %.3f s, libusb loop %.3f s, usblp loop %.3f s "
            "(%u bytes)\n",
            pair + 1, sendElf, check, loop, usblp, size);
        checkedShare.push_back((check + loop) / sendElf);
        sendElfShare.push_back(loop / sendElf);
        usblpShare.push_back(loop / usblp);
    }
    std::printf(
        "throughput SendElf/(digest check + libusb loop) %.3f, SendElf/libusb loop %.3f, usblp "
        "loop/libusb loop %.3f\n",
        Median(checkedShare), Median(sendElfShare), Median(usblpShare));
    installed.reset();
    libusb_exit(nullptr);
    return 0;
}
