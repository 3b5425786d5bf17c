#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fwup::cli {

// The version of docs/cli-output.schema.json the lines follow, named in every result line.
inline constexpr int kOutputSchema = 1;

// One JSON object on one line, built key by key in the order given.
class JsonLine {
  public:
    JsonLine& Add(std::string_view key, std::string_view utf8);
    JsonLine& Add(std::string_view key, std::wstring_view text);
    JsonLine& Add(std::string_view key, const char* utf8) {
        return Add(key, std::string_view(utf8));
    }
    JsonLine& Add(std::string_view key, std::int64_t number);
    JsonLine& Add(std::string_view key, int number) { return Add(key, std::int64_t{number}); }
    JsonLine& AddBool(std::string_view key, bool value);
    JsonLine& AddNull(std::string_view key);
    // An array of objects, each as its own JsonLine built it.
    JsonLine& AddObjects(std::string_view key, std::span<const JsonLine> objects);

    // The object and its line end.
    std::string Text() const { return Object() + "\n"; }
    std::string Object() const { return "{" + body_ + "}"; }

  private:
    void Key(std::string_view key);
    std::string body_;
};

// `utf8` as a JSON string literal, quotes included. Control characters are escaped, and so are
// the characters LineSafeJson escapes, so a value from a device never breaks the line nor acts on
// a terminal; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(std::string_view utf8);

}  // namespace fwup::cli
