#include "device/libusb/interface_path.h"

#include "base/wide_text.h"
#include "device/libusb/usb_backend.h"

namespace fwup::libusb {
namespace {

// usb:255- seven ports of three digits, :if255:dev255:xxxx:xxxx
constexpr std::size_t kLongestPath = 58;

std::wstring Hex4(std::uint16_t value) {
    const std::wstring digits = HexLower(value);
    return std::wstring(4 - digits.size(), L'0') + digits;
}

// Reads the ASCII text left to right; any mismatch sets `ok` false for good.
class Cursor {
  public:
    explicit Cursor(std::wstring_view text) : text_(text) {}

    void Expect(std::wstring_view literal) {
        if (ok_ && text_.substr(0, literal.size()) == literal) {
            text_.remove_prefix(literal.size());
        } else {
            ok_ = false;
        }
    }
    bool Next(wchar_t c) {
        if (ok_ && !text_.empty() && text_.front() == c) {
            text_.remove_prefix(1);
            return true;
        }
        return false;
    }
    std::uint32_t Number(int base, std::size_t maxDigits) {
        std::uint32_t value = 0;
        std::size_t digits = 0;
        while (ok_ && !text_.empty() && digits < maxDigits) {
            const int digit = DigitValue(text_.front(), base);
            if (digit < 0) {
                break;
            }
            value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
            text_.remove_prefix(1);
            ++digits;
        }
        ok_ = ok_ && digits > 0;
        return value;
    }
    std::uint8_t Byte() {
        const std::uint32_t value = Number(10, 3);
        ok_ = ok_ && value <= 0xFF;
        return static_cast<std::uint8_t>(value);
    }
    bool Finished() const { return ok_ && text_.empty(); }

  private:
    static int DigitValue(wchar_t c, int base) {
        if (c >= L'0' && c <= L'9') {
            return c - L'0';
        }
        if (base == 16 && c >= L'a' && c <= L'f') {
            return c - L'a' + 10;
        }
        return -1;
    }

    std::wstring_view text_;
    bool ok_ = true;
};

}  // namespace

std::wstring FormatInterfacePath(const InterfaceAddress& address) {
    std::wstring path = L"usb:" + std::to_wstring(address.bus) + L"-";
    for (std::size_t i = 0; i < address.ports.size(); ++i) {
        if (i > 0) {
            path += L'.';
        }
        path += std::to_wstring(address.ports[i]);
    }
    path += L":if" + std::to_wstring(address.interfaceNumber);
    path += L":dev" + std::to_wstring(address.deviceAddress);
    path += L":" + Hex4(address.vendorId) + L":" + Hex4(address.productId);
    return path;
}

std::optional<InterfaceAddress> ParseInterfacePath(std::wstring_view path) {
    if (path.size() > kLongestPath) {
        return std::nullopt;
    }
    InterfaceAddress address;
    Cursor cursor(path);
    cursor.Expect(L"usb:");
    address.bus = cursor.Byte();
    cursor.Expect(L"-");
    do {
        address.ports.push_back(cursor.Byte());
    } while (address.ports.size() < kMaxPortDepth && cursor.Next(L'.'));
    cursor.Expect(L":if");
    address.interfaceNumber = cursor.Byte();
    cursor.Expect(L":dev");
    address.deviceAddress = cursor.Byte();
    cursor.Expect(L":");
    address.vendorId = static_cast<std::uint16_t>(cursor.Number(16, 4));
    cursor.Expect(L":");
    address.productId = static_cast<std::uint16_t>(cursor.Number(16, 4));
    // Only the one spelling FormatInterfacePath makes is accepted (no leading zeros, no short
    // hex), so two different texts never name the same interface.
    if (!cursor.Finished() || FormatInterfacePath(address) != path) {
        return std::nullopt;
    }
    return address;
}

}  // namespace fwup::libusb
