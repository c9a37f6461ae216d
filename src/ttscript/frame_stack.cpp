#include "ttscript/frame_stack.h"

#include <algorithm>

namespace ttscript {
namespace {

// Values per chunk: the frames of a few dozen calls of an ordinary function.
constexpr std::size_t kChunkValues = 1024;

}  // namespace

Value* FrameStack::push(std::size_t count) {
    if (chunks_.empty()) chunks_.emplace_back();
    for (;;) {
        Chunk& chunk = chunks_[top_];
        if (chunk.capacity - chunk.used >= count) {
            Value* frame = chunk.values.get() + chunk.used;
            chunk.used += count;
            return frame;
        }
        // Every chunk below the top holds a frame, so an empty one too small is
        // replaced; a full one leads to the next.
        if (chunk.used == 0) {
            chunk.capacity = std::max(count, kChunkValues);
            chunk.values = std::make_unique<Value[]>(chunk.capacity);
        } else {
            ++top_;
            if (top_ == chunks_.size()) chunks_.emplace_back();
        }
    }
}

void FrameStack::pop(Value* frame, std::size_t count) noexcept {
    for (std::size_t i = 0; i < count; ++i) frame[i].clear();
    Chunk& chunk = chunks_[top_];
    chunk.used -= count;
    if (chunk.used == 0 && top_ > 0) --top_;
}

void FrameStack::clear() noexcept {
    chunks_.clear();
    top_ = 0;
}

}  // namespace ttscript
