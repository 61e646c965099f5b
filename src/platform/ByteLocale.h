#pragma once

#include <memory>

namespace platform {

/// While it lives, the calling thread's character type is the plain "C" locale, so a
/// library that takes its text from the locale (libarchive's zip writer marks every name
/// UTF-8 under a UTF-8 locale) treats names as bytes. Other threads are not affected.
class ByteLocale {
public:
    ByteLocale();
    ~ByteLocale();
    ByteLocale(const ByteLocale&) = delete;
    ByteLocale& operator=(const ByteLocale&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace platform
