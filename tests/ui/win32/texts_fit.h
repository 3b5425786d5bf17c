#pragma once

// What keeps a control of a Win32 window from showing its text whole, measured as the control
// draws it, at the window's own DPI: a word cut off, a line below the bottom edge, a button caption
// wider than the button, two controls over each other, or a letter drawn as the box that stands for
// a glyph no face has.
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/wide_text.h"

namespace fwup::testing {

inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

inline std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline RECT RectInParent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Looks for the box a missing glyph is drawn as: a letter whose picture is the picture of a code
// point no face has. Font linking and fallback take part, as they do when the control draws.
class MissingGlyphs {
  public:
    MissingGlyphs() : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kCell;
        info.bmiHeader.biHeight = -kCell;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~MissingGlyphs() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    MissingGlyphs(const MissingGlyphs&) = delete;
    MissingGlyphs& operator=(const MissingGlyphs&) = delete;

    // The letters of `text` that `font` draws as the missing-glyph box.
    std::wstring In(HFONT font, std::wstring_view text) {
        std::wstring missing;
        for (const wchar_t c : text) {
            if (c > L' ' && c != 0x200E && c != 0x200F && IsBox(font, c)) {
                missing += c;
            }
        }
        return missing;
    }

  private:
    static constexpr int kCell = 96;

    std::vector<DWORD> Draw(HFONT font, wchar_t c) {
        const HGDIOBJ old = SelectObject(dc_, font);
        RECT cell{0, 0, kCell, kCell};
        FillRect(dc_, &cell, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetBkMode(dc_, TRANSPARENT);
        const wchar_t text[2] = {c, L'\0'};
        DrawTextW(dc_, text, 1, &cell, DT_NOPREFIX | DT_SINGLELINE);
        GdiFlush();
        SelectObject(dc_, old);
        return {bits_, bits_ + kCell * kCell};
    }

    // A window's fonts end with it and their handles come back for other fonts: the cache goes
    // by what a font is.
    static std::wstring Describe(HFONT font) {
        LOGFONTW logFont{};
        GetObjectW(font, sizeof(logFont), &logFont);
        return std::wstring(logFont.lfFaceName) + L"/" + std::to_wstring(logFont.lfHeight) + L"/" +
               std::to_wstring(logFont.lfWeight);
    }

    bool IsBox(HFONT font, wchar_t c) {
        const std::wstring face = Describe(font);
        const auto key = std::make_pair(face, c);
        if (const auto found = known_.find(key); found != known_.end()) {
            return found->second;
        }
        auto box = boxes_.find(face);
        if (box == boxes_.end()) {
            box = boxes_.emplace(face, Draw(font, L'\u0378')).first;  // unassigned: no face has it
        }
        const bool isBox = Draw(font, c) == box->second;
        known_.emplace(key, isBox);
        return isBox;
    }

    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    DWORD* bits_ = nullptr;
    std::map<std::wstring, std::vector<DWORD>> boxes_;
    std::map<std::pair<std::wstring, wchar_t>, bool> known_;
};

// Every problem of the visible controls of `window`, one line each; empty when all is whole.
inline std::vector<std::string> WhatDoesNotFit(HWND window, MissingGlyphs& glyphs) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) != FALSE) {
            children.push_back(child);
        }
    }
    std::vector<std::string> problems;
    RECT client{};
    GetClientRect(window, &client);
    for (std::size_t i = 0; i < children.size(); ++i) {
        const HWND child = children[i];
        const RECT place = RectInParent(child);
        const std::wstring kind = ClassOf(child);
        const std::string what = ToUtf8(kind) + " \"" + ToUtf8(TextOf(child)) + "\"";
        RECT inside{};
        if (IntersectRect(&inside, &place, &client) == FALSE || !EqualRect(&inside, &place)) {
            problems.push_back(what + " reaches outside the window");
        }
        for (std::size_t j = 0; j < i; ++j) {
            const RECT other = RectInParent(children[j]);
            if (IntersectRect(&inside, &place, &other) != FALSE) {
                problems.push_back(what + " lies over " + ToUtf8(ClassOf(children[j])) + " \"" +
                                   ToUtf8(TextOf(children[j])) + "\"");
            }
        }
        const std::wstring text = TextOf(child);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        if (text.empty() || font == nullptr || _wcsicmp(kind.c_str(), L"ComboBox") == 0) {
            continue;
        }
        RECT room{};
        GetClientRect(child, &room);
        const bool button = _wcsicmp(kind.c_str(), L"Button") == 0;
        if (_wcsicmp(kind.c_str(), L"Edit") == 0) {
            SendMessageW(child, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
        } else if (button) {
            // A push button draws its caption inside its frame and focus rectangle.
            InflateRect(&room, -GetSystemMetrics(SM_CXEDGE) - 1, -GetSystemMetrics(SM_CYEDGE));
        }
        const HDC dc = GetDC(child);
        const HGDIOBJ old = SelectObject(dc, font);
        RECT needed{0, 0, room.right - room.left, 0};
        DrawTextW(
            dc, text.c_str(), static_cast<int>(text.size()), &needed,
            DT_CALCRECT | DT_NOPREFIX | (button ? DT_SINGLELINE : (DT_WORDBREAK | DT_EDITCONTROL)));
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        if (needed.right - needed.left > room.right - room.left ||
            needed.bottom - needed.top > room.bottom - room.top) {
            problems.push_back(what + " needs " + std::to_string(needed.right - needed.left) + "x" +
                               std::to_string(needed.bottom - needed.top) + " of " +
                               std::to_string(room.right - room.left) + "x" +
                               std::to_string(room.bottom - room.top));
        }
        const std::wstring missing = glyphs.In(font, text);
        if (!missing.empty()) {
            problems.push_back(what + " draws boxes for \"" + ToUtf8(missing) + "\"");
        }
    }
    return problems;
}

}  // namespace fwup::testing
