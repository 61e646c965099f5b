#pragma once

#include <QtGlobal>
#include <atomic>

namespace platform {

/// Checks, in builds with assertions, that an object's writers run alone: a writer while
/// another writer or any reader is inside, or a reader while a writer is, fails a
/// Q_ASSERT. Readers may overlap. Without assertions it holds and does nothing.
/// A copy of an object starts with a checker of its own.
class ExclusiveWrites {
public:
    ExclusiveWrites() = default;
    ExclusiveWrites(const ExclusiveWrites&) {}
    ExclusiveWrites& operator=(const ExclusiveWrites&) { return *this; }

#ifndef QT_NO_DEBUG
    /// Marks a writer inside for its lifetime.
    class Writing {
    public:
        explicit Writing(const ExclusiveWrites& check) : users_(check.users_)
        {
            int none = 0;
            [[maybe_unused]] const bool alone = users_.compare_exchange_strong(none, -1);
            Q_ASSERT_X(alone, "ExclusiveWrites", "written while another thread uses it");
        }
        ~Writing() { users_.store(0); }
        Writing(const Writing&) = delete;
        Writing& operator=(const Writing&) = delete;

    private:
        std::atomic<int>& users_;
    };

    /// Marks a reader inside for its lifetime.
    class Reading {
    public:
        explicit Reading(const ExclusiveWrites& check) : users_(check.users_)
        {
            int readers = users_.load();
            do {
                Q_ASSERT_X(readers >= 0, "ExclusiveWrites", "read while another thread writes it");
            } while (readers >= 0 && !users_.compare_exchange_weak(readers, readers + 1));
        }
        ~Reading() { users_.fetch_sub(1); }
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

    private:
        std::atomic<int>& users_;
    };

private:
    // -1: a writer is inside; otherwise the number of readers inside.
    mutable std::atomic<int> users_{0};
#else
    struct Writing {
        explicit Writing(const ExclusiveWrites&) {}
    };
    struct Reading {
        explicit Reading(const ExclusiveWrites&) {}
    };
#endif
};

} // namespace platform
