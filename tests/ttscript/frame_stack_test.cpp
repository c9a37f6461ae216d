#include "ttscript/frame_stack.h"

#include <gtest/gtest.h>

#include <vector>

namespace ttscript {
namespace {

// Frames larger than a chunk, frames that no longer fit the chunk under way, and
// empty ones: each starts unset, and none moves or changes while deeper ones come
// and go, as a caller's locals must not.
TEST(FrameStackTest, FramesStayPutAndStartUnsetAcrossChunks) {
    const std::size_t sizes[] = {3, 1000, 30, 0, 2000, 1, 1024};
    FrameStack stack;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        std::vector<Value*> frames;
        for (std::size_t size : sizes) {
            Value* frame = stack.push(size);
            for (std::size_t i = 0; i < size; ++i) {
                ASSERT_TRUE(frame[i].isUnset());
                frame[i] = Value::number(static_cast<double>(frames.size()));
            }
            frames.push_back(frame);
        }
        for (std::size_t f = frames.size(); f-- > 0;) {
            for (std::size_t i = 0; i < sizes[f]; ++i) {
                ASSERT_EQ(frames[f][i].rawNumber(), static_cast<double>(f));
            }
            stack.pop(frames[f], sizes[f]);
        }
    }
}

}  // namespace
}  // namespace ttscript
