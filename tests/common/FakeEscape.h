#pragma once

#include "platform/CancelKey.h"

#include <atomic>

/// Escape as a test holds it: down from when the test sets `down` until a check's
/// question clears it.
class FakeEscape : public CancelKey {
public:
    bool pressed() override { return down; }
    void clear() override { down = false; }
    std::atomic<bool> down{false};
};

/// Escape "pressed" at the `at`-th look and at no other (never for 0).
class EscapeAtCheck : public CancelKey {
public:
    explicit EscapeAtCheck(int at = 0) : at_(at) {}
    bool pressed() override { return ++checks_ == at_; }
    void clear() override {}

private:
    int at_;
    std::atomic<int> checks_{0};
};
