#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace fwup {

// Reads the members of one JSON object of a scenario, naming every key by its full path in error
// messages ("printers[0].faults.failReads"). Readers of one file share one error text and the
// first error sticks: later reads return nothing, so the caller checks once at the end.
class FieldReader {
  public:
    // Fails at once when `value` is not an object or holds a key outside `knownKeys`.
    FieldReader(const nlohmann::json& value, std::string path,
                std::initializer_list<std::string_view> knownKeys, std::string& error);

    bool ok() const { return error_.empty(); }
    // The member at `key`, or null when absent (or after an error).
    const nlohmann::json* Member(std::string_view key) const;
    std::string KeyPath(std::string_view key) const;
    void Fail(std::string message);

    // Each returns nothing when the key is absent; a present value of the wrong type or range
    // is an error.
    std::optional<std::uint64_t> Unsigned(std::string_view key, std::uint64_t min,
                                          std::uint64_t max);
    std::optional<bool> Flag(std::string_view key);
    std::optional<std::string> Text(std::string_view key, std::size_t minBytes,
                                    std::size_t maxBytes);
    // An error unless the key is present.
    void Require(std::string_view key);

  private:
    const nlohmann::json& value_;
    std::string path_;
    std::string& error_;
};

}  // namespace fwup
