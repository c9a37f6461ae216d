#include "ttscript/run_memory.h"

#include "ttscript/collection.h"
#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

thread_local RunMemory* currentMemory = nullptr;

std::string amount(std::size_t bytes) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    if (bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MB";
    return std::to_string(bytes) + " バイト";
}

}  // namespace

RunMemory::RunMemory(std::size_t budget) : budget_(budget), outer_(currentMemory) {
    currentMemory = this;
}

RunMemory::~RunMemory() {
    // Pinned, every collection stays alive while the others drop their shares of it.
    for (Collection* c = live_; c; c = c->next_) ++c->refs_;
    for (Collection* c = live_; c; c = c->next_) c->clear();
    while (live_) delete live_;
    currentMemory = outer_;
}

RunMemory* RunMemory::current() { return currentMemory; }

void RunMemory::take(std::size_t bytes) {
    used_ += bytes;
    if (used_ > budget_) exhausted();
}

void RunMemory::checkRoom(std::size_t bytes) const {
    if (bytes > budget_ - std::min(used_, budget_)) exhausted();
}

void RunMemory::exhausted() const {
    throwRuntimeError("メモリが足りません（スクリプトが使えるのは " + amount(budget_) + " まで）");
}

void RunMemory::release(Collection* c) {
    dying_.push_back(c);
    if (freeing_) return;
    freeing_ = true;
    while (!dying_.empty()) {
        Collection* next = dying_.back();
        dying_.pop_back();
        // Its elements are dropped here, at this level, not inside its destructor.
        Collection::Contents contents = next->takeContents();
        delete next;
    }
    freeing_ = false;
}

void checkMemoryFor(std::size_t bytes) {
    if (RunMemory* memory = RunMemory::current()) memory->checkRoom(bytes);
}

}  // namespace ttscript
