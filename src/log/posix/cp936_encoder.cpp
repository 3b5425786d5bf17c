#include <iconv.h>

#include <array>
#include <cstdint>

#include "log/cp936.h"

namespace fwup {
namespace {

class IconvHandle {
  public:
    // glibc's "WCHAR_T" is the UCS-4 of wchar_t whatever the locale, so no setlocale is needed.
    IconvHandle() : cd_(::iconv_open("CP936", "WCHAR_T")) {}
    ~IconvHandle() {
        if (valid()) {
            ::iconv_close(cd_);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

}  // namespace

std::string EncodeCp936(std::wstring_view text) {
    // A handle per call: iconv_t must not be shared between threads, and a line is short.
    const IconvHandle converter;
    if (!converter.valid()) {
        return EncodeAsciiOrQuestionMark(text);
    }
    std::string out;
    out.reserve(text.size() * 2);
    // One character at a time, so an unmappable one is replaced alone and the loop is bounded by
    // the length of the text.
    for (wchar_t c : text) {
        if (static_cast<std::uint32_t>(c) < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        std::array<char, 8> bytes{};
        char* in = reinterpret_cast<char*>(&c);
        std::size_t inLeft = sizeof(c);
        char* outPos = bytes.data();
        std::size_t outLeft = bytes.size();
        if (::iconv(converter.get(), &in, &inLeft, &outPos, &outLeft) ==
            static_cast<std::size_t>(-1)) {
            out.push_back('?');
            continue;
        }
        out.append(bytes.data(), outPos);
    }
    return out;
}

}  // namespace fwup
