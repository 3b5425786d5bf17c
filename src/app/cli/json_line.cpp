#include "app/cli/json_line.h"

#include <cstdio>

#include "base/shown_text.h"
#include "base/wide_text.h"

namespace fwup::cli {

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    // Arguments, scenario texts and device strings arrive as any bytes; a strict parser takes
    // none that is not UTF-8.
    for (const char c : ValidUtf8(utf8)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    // A separator left raw cuts the line for every reader that splits on it (Python's
    // splitlines, Ansible's stdout_lines); a C1 control or a bidi control reaches a terminal
    // that shows the line.
    return LineSafeJson(out + "\"");
}

void JsonLine::Key(std::string_view key) {
    if (!body_.empty()) {
        body_ += ", ";
    }
    body_ += JsonString(key);
    body_ += ": ";
}

JsonLine& JsonLine::Add(std::string_view key, std::string_view utf8) {
    Key(key);
    body_ += JsonString(utf8);
    return *this;
}

JsonLine& JsonLine::Add(std::string_view key, std::wstring_view text) {
    return Add(key, std::string_view(ToUtf8(text)));
}

JsonLine& JsonLine::Add(std::string_view key, std::int64_t number) {
    Key(key);
    body_ += std::to_string(number);
    return *this;
}

JsonLine& JsonLine::AddBool(std::string_view key, bool value) {
    Key(key);
    body_ += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::AddNull(std::string_view key) {
    Key(key);
    body_ += "null";
    return *this;
}

JsonLine& JsonLine::AddObjects(std::string_view key, std::span<const JsonLine> objects) {
    Key(key);
    body_ += '[';
    for (std::size_t i = 0; i < objects.size(); ++i) {
        body_ += (i == 0 ? "" : ", ") + objects[i].Object();
    }
    body_ += ']';
    return *this;
}

}  // namespace fwup::cli
