#include "base/shown_text.h"

#include <cstdio>

#include "base/wide_text.h"

namespace fwup {
namespace {

std::string Escaped(char32_t c, bool json) {
    char text[12];
    if (!json && c < 0x20) {
        switch (c) {
            case U'\t':
                return "\\t";
            case U'\n':
                return "\\n";
            case U'\r':
                return "\\r";
            default:
                break;
        }
    }
    if (!json && (c < 0x20 || c == 0x7F)) {
        std::snprintf(text, sizeof text, "\\x%02x", static_cast<unsigned>(c));
    } else {
        std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned>(c));
    }
    return text;
}

// Whether the `count` bytes after `at` are all continuation bytes.
bool Continues(std::string_view utf8, std::size_t at, std::size_t count) {
    if (at + count >= utf8.size()) {
        return false;
    }
    for (std::size_t k = 1; k <= count; ++k) {
        if ((static_cast<unsigned char>(utf8[at + k]) & 0xC0) != 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool ActsRatherThanShows(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x2028 ||
           c == 0x2029;
}

std::wstring ShownText(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (const wchar_t unit : text) {
        // Every character that acts is one unit in UTF-16 and UTF-32 alike; a surrogate is
        // left for ToUtf8, which makes a lone one U+FFFD.
        const auto c = static_cast<char32_t>(unit) & (sizeof(wchar_t) == 2 ? 0xFFFF : 0xFFFFFFFF);
        if (ActsRatherThanShows(c)) {
            for (const char ascii : Escaped(c, false)) {
                out.push_back(static_cast<wchar_t>(ascii));
            }
        } else {
            out.push_back(unit);
        }
    }
    return out;
}

std::string ShownUtf8(std::string_view utf8) {
    return ToUtf8(ShownText(FromUtf8(utf8)));
}

std::string LineSafeJson(std::string_view json) {
    std::string out;
    out.reserve(json.size());
    std::size_t i = 0;
    while (i < json.size()) {
        const auto lead = static_cast<unsigned char>(json[i]);
        // Only DEL and the two-byte (U+0080-U+07FF) and three-byte (U+0800-U+FFFF) forms can
        // hold a character that acts; a four-byte form and a stray byte are copied as they are.
        char32_t c = lead < 0x80 ? lead : 0;
        std::size_t length = 1;
        if ((lead & 0xE0) == 0xC0 && Continues(json, i, 1)) {
            c = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(json[i + 1]) & 0x3Fu);
            length = 2;
        } else if ((lead & 0xF0) == 0xE0 && Continues(json, i, 2)) {
            c = ((lead & 0x0Fu) << 12) | ((static_cast<unsigned char>(json[i + 1]) & 0x3Fu) << 6) |
                (static_cast<unsigned char>(json[i + 2]) & 0x3Fu);
            length = 3;
        } else if ((lead & 0xF8) == 0xF0 && Continues(json, i, 3)) {
            length = 4;
        }
        if (c >= 0x20 && ActsRatherThanShows(c)) {
            out += Escaped(c, true);
        } else {
            out.append(json.substr(i, length));
        }
        i += length;
    }
    return out;
}

}  // namespace fwup
