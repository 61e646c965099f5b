#pragma once

#include <functional>

/// Runs `body` in a forked child that, when the tests run as root, first drops to the
/// user "nobody": permissions (unreadable folders, read-only files) then bite as they do
/// for an ordinary user. Returns what `body` returned; false when the child could not
/// run or died. Use from single-threaded test programs only.
bool RunUnprivileged(const std::function<bool()>& body);

/// True when the tests run as root, where permissions alone do not stop a read.
bool RunningAsRoot();
