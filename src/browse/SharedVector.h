#pragma once

#include <memory>
#include <utility>
#include <vector>

/// A vector that copies share until one of them writes to it: a huge list copied for a
/// rebuild on another thread costs a reference, not a million elements. Writers call
/// write(), which first gives this copy a vector of its own while another still holds it.
/// A copy is written only by the thread that holds it.
template <typename T> class SharedVector {
public:
    [[nodiscard]] const std::vector<T>& read() const { return data_ ? *data_ : empty(); }
    std::vector<T>& write()
    {
        if (!data_)
            data_ = std::make_shared<std::vector<T>>();
        else if (data_.use_count() > 1)
            data_ = std::make_shared<std::vector<T>>(*data_);
        return *data_;
    }
    /// Takes `items` over, dropping (not copying) what was shared.
    void assign(std::vector<T>&& items)
    {
        data_ = std::make_shared<std::vector<T>>(std::move(items));
    }
    /// Whether both copies hold the very same vector (both empty counts as the same).
    [[nodiscard]] bool sameData(const SharedVector& other) const { return data_ == other.data_; }
    /// Empties this copy, leaving the others theirs.
    void reset() { data_.reset(); }

private:
    static const std::vector<T>& empty()
    {
        static const std::vector<T> none;
        return none;
    }

    std::shared_ptr<std::vector<T>> data_;
};
