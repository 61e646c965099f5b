#pragma once

#include <atomic>
#include <memory>
#include <utility>
#include <vector>

/// A vector that copies share until one of them writes to it: a huge list copied for a
/// rebuild on another thread costs a reference, not a million elements. A vector once
/// shared is never written again: write() first gives this copy a vector of its own.
/// Copies may live on different threads; each copy is written only by the thread that
/// holds it.
template <typename T> class SharedVector {
public:
    SharedVector() = default;
    SharedVector(const SharedVector& other) : block_(other.share()) {}
    SharedVector(SharedVector&& other) noexcept = default;
    SharedVector& operator=(const SharedVector& other)
    {
        if (this != &other)
            block_ = other.share();
        return *this;
    }
    SharedVector& operator=(SharedVector&& other) noexcept = default;
    ~SharedVector() = default;

    [[nodiscard]] const std::vector<T>& read() const { return block_ ? block_->items : empty(); }
    std::vector<T>& write()
    {
        if (!block_)
            block_ = std::make_shared<Block>();
        else if (block_->shared.load(std::memory_order_acquire))
            block_ = std::make_shared<Block>(block_->items);
        return block_->items;
    }
    /// Takes `items` over, dropping (not copying) what was shared.
    void assign(std::vector<T>&& items) { block_ = std::make_shared<Block>(std::move(items)); }
    /// Whether both copies hold the very same vector (both empty counts as the same).
    [[nodiscard]] bool sameData(const SharedVector& other) const { return block_ == other.block_; }
    /// Empties this copy, leaving the others theirs.
    void reset() { block_.reset(); }

private:
    struct Block {
        Block() = default;
        explicit Block(const std::vector<T>& from) : items(from) {}
        explicit Block(std::vector<T>&& from) : items(std::move(from)) {}
        std::vector<T> items;
        // Set by the first copy and never cleared: whoever holds the block then only
        // reads it, however many copies are left, so no writer races a reader.
        std::atomic<bool> shared{false};
    };

    [[nodiscard]] std::shared_ptr<Block> share() const
    {
        if (block_)
            block_->shared.store(true, std::memory_order_release);
        return block_;
    }

    static const std::vector<T>& empty()
    {
        static const std::vector<T> none;
        return none;
    }

    std::shared_ptr<Block> block_;
};
