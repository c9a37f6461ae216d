// The memory of one run: a budget shared by every long text and every collection
// the script makes (host answers included, once they are values), and the list of
// live collections, so that those still alive when the run ends, cycles included,
// are freed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ttscript {

class Collection;

// What a run may use unless its engine is told otherwise.
inline constexpr std::size_t kDefaultMemoryBudget = std::size_t{1} << 30;

class RunMemory {
  public:
    // Current on the constructing thread until destroyed. Destroying it frees every
    // collection still alive: by then no value outside them may refer to one.
    explicit RunMemory(std::size_t budget);
    ~RunMemory();
    RunMemory(const RunMemory&) = delete;
    RunMemory& operator=(const RunMemory&) = delete;

    // The memory of the run under way on this thread, or null.
    static RunMemory* current();

    // Records `bytes` as used, then raises the runtime error for an exhausted budget
    // when they do not fit. The bytes stay recorded either way: give them back as usual.
    void take(std::size_t bytes);
    void give(std::size_t bytes) noexcept { used_ -= bytes; }
    // A runtime error unless `bytes` more would fit; checked before allocating.
    void checkRoom(std::size_t bytes) const;

  private:
    friend class Collection;
    friend class Value;

    [[noreturn]] void exhausted() const;
    // Frees a collection whose last share is gone. Nested collections freed by it
    // queue up instead of recursing, so a chain of any length cannot exhaust the stack.
    void release(Collection* c);

    std::size_t budget_;
    std::size_t used_ = 0;
    RunMemory* outer_;
    Collection* live_ = nullptr;
    std::vector<Collection*> dying_;
    bool freeing_ = false;
};

// A runtime error unless `bytes` more fit in the current run's budget (none outside a run).
void checkMemoryFor(std::size_t bytes);

}  // namespace ttscript
