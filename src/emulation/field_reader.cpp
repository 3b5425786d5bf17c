#include "emulation/field_reader.h"

#include <utility>

namespace fwup {

FieldReader::FieldReader(const nlohmann::json& value, std::string path,
                         std::initializer_list<std::string_view> knownKeys, std::string& error)
    : value_(value), path_(std::move(path)), error_(error) {
    if (!value_.is_object()) {
        Fail("'" + path_ + "' must be an object");
        return;
    }
    for (const auto& member : value_.items()) {
        bool known = false;
        for (std::string_view key : knownKeys) {
            known = known || member.key() == key;
        }
        if (!known) {
            Fail("unknown key '" + KeyPath(member.key()) + "'");
            return;
        }
    }
}

const nlohmann::json* FieldReader::Member(std::string_view key) const {
    if (!ok() || !value_.is_object()) {
        return nullptr;
    }
    const auto found = value_.find(std::string(key));
    return found == value_.end() ? nullptr : &*found;
}

std::string FieldReader::KeyPath(std::string_view key) const {
    return path_.empty() ? std::string(key) : path_ + "." + std::string(key);
}

void FieldReader::Fail(std::string message) {
    if (error_.empty()) {
        error_ = std::move(message);
    }
}

std::optional<std::uint64_t> FieldReader::Unsigned(std::string_view key, std::uint64_t min,
                                                   std::uint64_t max) {
    const nlohmann::json* member = Member(key);
    if (member == nullptr) {
        return std::nullopt;
    }
    if (member->is_number_unsigned()) {
        const auto number = member->get<std::uint64_t>();
        if (number >= min && number <= max) {
            return number;
        }
    }
    Fail("'" + KeyPath(key) + "' must be an integer from " + std::to_string(min) + " to " +
         std::to_string(max));
    return std::nullopt;
}

std::optional<bool> FieldReader::Flag(std::string_view key) {
    const nlohmann::json* member = Member(key);
    if (member == nullptr) {
        return std::nullopt;
    }
    if (!member->is_boolean()) {
        Fail("'" + KeyPath(key) + "' must be true or false");
        return std::nullopt;
    }
    return member->get<bool>();
}

std::optional<std::string> FieldReader::Text(std::string_view key, std::size_t minBytes,
                                             std::size_t maxBytes) {
    const nlohmann::json* member = Member(key);
    if (member == nullptr) {
        return std::nullopt;
    }
    if (member->is_string()) {
        const auto& text = member->get_ref<const std::string&>();
        if (text.size() >= minBytes && text.size() <= maxBytes) {
            return text;
        }
    }
    Fail("'" + KeyPath(key) + "' must be a string of " + std::to_string(minBytes) + " to " +
         std::to_string(maxBytes) + " bytes");
    return std::nullopt;
}

void FieldReader::Require(std::string_view key) {
    if (ok() && Member(key) == nullptr) {
        Fail("'" + KeyPath(key) + "' is missing");
    }
}

}  // namespace fwup
