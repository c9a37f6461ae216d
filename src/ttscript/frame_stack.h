// The locals of every call under way. Frames are carved from chunks that never
// move, so a reference to a caller's local stays valid while its callees run; a
// chunk is allocated only when a deeper call finds the others full, and kept for
// the next call that deep.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "ttscript/value.h"

namespace ttscript {

class FrameStack {
  public:
    // `count` unset values on top of the stack.
    Value* push(std::size_t count);
    // Drops the frame on top, which push gave as `frame` for `count` values.
    void pop(Value* frame, std::size_t count) noexcept;
    // Drops every frame and the chunks with them.
    void clear() noexcept;

  private:
    struct Chunk {
        std::unique_ptr<Value[]> values;
        std::size_t capacity = 0;
        std::size_t used = 0;
    };
    std::vector<Chunk> chunks_;
    std::size_t top_ = 0;  // the chunk the last frame was carved from
};

}  // namespace ttscript
