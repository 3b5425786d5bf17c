#pragma once

#include <windows.h>

#include <utility>

namespace fwup::win32 {

// Sole owner of one platform handle of the kind `Traits` describes; releases it exactly once.
template <typename Traits>
class UniqueWin32 {
  public:
    using Type = typename Traits::Type;

    UniqueWin32() = default;
    explicit UniqueWin32(Type value) : value_(value) {}
    ~UniqueWin32() { reset(); }
    UniqueWin32(const UniqueWin32&) = delete;
    UniqueWin32& operator=(const UniqueWin32&) = delete;
    UniqueWin32(UniqueWin32&& other) noexcept : value_(std::exchange(other.value_, Invalid())) {}
    UniqueWin32& operator=(UniqueWin32&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.value_, Invalid()));
        }
        return *this;
    }

    Type get() const { return value_; }
    // Null and the platform's "invalid" marker both mean "nothing owned": some calls report
    // failure with one, some with the other.
    bool valid() const { return value_ != Invalid() && value_ != Type{}; }

    void reset(Type value = Invalid()) {
        const Type old = std::exchange(value_, value);
        if (old != Invalid() && old != Type{}) {
            Traits::Close(old);
        }
    }

    // For out-parameters: releases what is owned and lends the slot to the platform call.
    Type* put() {
        reset();
        return &value_;
    }

  private:
    static Type Invalid() { return Traits::Invalid(); }
    Type value_ = Invalid();
};

struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type key) { RegCloseKey(key); }
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) { CloseHandle(handle); }
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle) { CloseHandle(handle); }
};

using UniqueRegistryKey = UniqueWin32<RegistryKeyTraits>;
using UniqueFileHandle = UniqueWin32<FileHandleTraits>;
// Handles whose failure value is null (mutexes, events), unlike files.
using UniqueKernelHandle = UniqueWin32<KernelHandleTraits>;

}  // namespace fwup::win32
