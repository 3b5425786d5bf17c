#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/wide_text.h"

namespace fwup::testing {

// The built viruzu-fwup.exe, loaded as data: its resources exactly as the program carries them.
class ProgramResources {
  public:
    ProgramResources()
        : module_(LoadLibraryExW(Widen(FWUP_WIN32_PROGRAM).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ProgramResources() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;

    HMODULE module() const { return module_; }

    std::span<const std::uint8_t> Bytes(const wchar_t* type, int id) const {
        const HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
        const HGLOBAL loaded = found != nullptr ? LoadResource(module_, found) : nullptr;
        const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
        if (data == nullptr) {
            return {};
        }
        return {static_cast<const std::uint8_t*>(data), SizeofResource(module_, found)};
    }

  private:
    HMODULE module_;
};

// What a DLGTEMPLATEEX says, read the way the dialog manager reads it.
struct DialogItem {
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    std::wstring windowClass;  // predefined classes by name
    std::wstring title;
    std::optional<WORD> titleOrdinal;  // a resource id as the title (a picture's bitmap)
};

struct DialogResource {
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring windowClass;
    std::wstring title;
    WORD pointSize = 0;
    BYTE charset = 0;
    std::wstring face;
    std::vector<DialogItem> items;
};

class DialogReader {
  public:
    explicit DialogReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // None when the bytes are not an extended template or end early.
    std::optional<DialogResource> Read() {
        DialogResource dialog;
        if (Word() != 1 || Word() != 0xFFFF) {
            return std::nullopt;
        }
        Dword();  // help id
        dialog.exStyle = Dword();
        dialog.style = Dword();
        const WORD count = Word();
        dialog.x = static_cast<short>(Word());
        dialog.y = static_cast<short>(Word());
        dialog.cx = static_cast<short>(Word());
        dialog.cy = static_cast<short>(Word());
        SizeOrOrdinal();  // menu
        dialog.windowClass = SizeOrOrdinal().first;
        dialog.title = String();
        if ((dialog.style & DS_SETFONT) != 0) {
            dialog.pointSize = Word();
            Word();  // weight
            Byte();  // italic
            dialog.charset = Byte();
            dialog.face = String();
        }
        for (WORD i = 0; i < count && ok_; ++i) {
            Align(4);
            DialogItem item;
            Dword();  // help id
            item.exStyle = Dword();
            item.style = Dword();
            item.x = static_cast<short>(Word());
            item.y = static_cast<short>(Word());
            item.cx = static_cast<short>(Word());
            item.cy = static_cast<short>(Word());
            item.id = Dword();
            const auto [windowClass, classOrdinal] = SizeOrOrdinal();
            item.windowClass = classOrdinal ? PredefinedClass(*classOrdinal) : windowClass;
            const auto [title, titleOrdinal] = SizeOrOrdinal();
            item.title = title;
            item.titleOrdinal = titleOrdinal;
            const WORD extra = Word();
            offset_ += extra;
            dialog.items.push_back(item);
        }
        return ok_ ? std::optional(dialog) : std::nullopt;
    }

  private:
    static std::wstring PredefinedClass(WORD ordinal) {
        switch (ordinal) {
            case 0x80:
                return L"Button";
            case 0x81:
                return L"Edit";
            case 0x82:
                return L"Static";
            case 0x83:
                return L"ListBox";
            case 0x84:
                return L"ScrollBar";
            case 0x85:
                return L"ComboBox";
            default:
                return L"#" + std::to_wstring(ordinal);
        }
    }

    bool Has(std::size_t count) {
        ok_ = ok_ && offset_ + count <= bytes_.size();
        return ok_;
    }
    BYTE Byte() { return Has(1) ? bytes_[offset_++] : 0; }
    WORD Word() {
        if (!Has(2)) {
            return 0;
        }
        WORD value;
        std::memcpy(&value, bytes_.data() + offset_, 2);
        offset_ += 2;
        return value;
    }
    DWORD Dword() {
        const DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    void Align(std::size_t to) { offset_ = (offset_ + to - 1) / to * to; }
    std::wstring String() {
        std::wstring text;
        for (WORD unit = Word(); ok_ && unit != 0; unit = Word()) {
            text.push_back(static_cast<wchar_t>(unit));
        }
        return text;
    }
    std::pair<std::wstring, std::optional<WORD>> SizeOrOrdinal() {
        if (!Has(2)) {
            return {};
        }
        WORD first;
        std::memcpy(&first, bytes_.data() + offset_, 2);
        if (first == 0xFFFF) {
            offset_ += 2;
            return {std::wstring(), Word()};
        }
        return {String(), std::nullopt};
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

}  // namespace fwup::testing
