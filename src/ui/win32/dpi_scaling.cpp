#include "ui/win32/dpi_scaling.h"

#include <algorithm>

namespace fwup::win32 {

int WindowDpi(HWND window) {
    // GetDpiForWindow exists from Windows 10 1607 on; older systems have one DPI for all screens.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = [] {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        const FARPROC found =
            user32 != nullptr ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
        return reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(found));
    }();
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kDesignDpi;
}

RECT ScaledRect(const PixelRect& rect, int dpi) {
    const auto scale = [dpi](int value) { return MulDiv(value, dpi, kDesignDpi); };
    return {scale(rect.x), scale(rect.y), scale(rect.x + rect.width), scale(rect.y + rect.height)};
}

LOGFONTW MakeLogFont(const FontDesc& font, int dpi) {
    LOGFONTW logFont{};
    logFont.lfHeight = font.pointTenths != 0 ? -MulDiv(font.pointTenths, dpi, 720)
                                             : MulDiv(font.height, dpi, kDesignDpi);
    logFont.lfWeight = font.weight;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = static_cast<BYTE>(
        DEFAULT_PITCH | (font.family == FontDesc::Family::kSwiss ? FF_SWISS : FF_DONTCARE));
    const std::size_t length = std::min<std::size_t>(font.face.size(), LF_FACESIZE - 1);
    std::copy_n(font.face.data(), length, logFont.lfFaceName);
    logFont.lfFaceName[length] = L'\0';
    return logFont;
}

}  // namespace fwup::win32
