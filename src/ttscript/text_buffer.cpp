#include "ttscript/text_buffer.h"

#include <new>
#include <utility>

#include "platform/growing_block.h"

namespace ttscript {

TextBuffer::TextBuffer(std::string_view text) {
    reserve(text.size());
    append(text);
}

TextBuffer& TextBuffer::operator=(TextBuffer&& other) noexcept {
    if (this != &other) {
        mirudana::freeBlock(data_, capacity_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

TextBuffer::~TextBuffer() { mirudana::freeBlock(data_, capacity_); }

void TextBuffer::reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    void* grown = mirudana::growBlock(data_, size_, capacity_, capacity);
    if (grown == nullptr) throw std::bad_alloc();
    data_ = static_cast<char*>(grown);
    capacity_ = capacity;
}

void TextBuffer::prepend(std::string_view bytes) {
    if (bytes.empty()) return;
    if (size_ != 0) std::memmove(data_ + bytes.size(), data_, size_);
    std::memcpy(data_, bytes.data(), bytes.size());
    size_ += bytes.size();
}

}  // namespace ttscript
