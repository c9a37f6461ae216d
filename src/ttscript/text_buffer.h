// The bytes of a long text a script appends to (`out = out & row`), in a block that
// grows in place: a report of tens of megabytes built a row at a time is never
// copied to a larger block, nor held twice while it grows.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace ttscript {

class TextBuffer {
  public:
    TextBuffer() = default;
    // A buffer holding `text`, with no room to spare.
    explicit TextBuffer(std::string_view text);
    TextBuffer(TextBuffer&& other) noexcept
        : data_(other.data_), size_(other.size_), capacity_(other.capacity_) {
        other.data_ = nullptr;
        other.size_ = other.capacity_ = 0;
    }
    TextBuffer& operator=(TextBuffer&& other) noexcept;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    ~TextBuffer();

    std::string_view view() const { return {data_, size_}; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::size_t capacity() const { return capacity_; }

    // Makes room for `capacity` bytes in all; std::bad_alloc when memory runs out.
    void reserve(std::size_t capacity);
    // Appends within the room made by reserve; `bytes` lie outside this buffer.
    void append(const char* bytes, std::size_t count) {
        if (count == 0) return;  // an empty view may carry no address
        std::memcpy(data_ + size_, bytes, count);
        size_ += count;
    }
    void append(std::string_view bytes) { append(bytes.data(), bytes.size()); }
    // Empties the buffer, keeping its room.
    void clear() { size_ = 0; }
    // Puts `bytes` in front, within the room made by reserve; `bytes` lie outside
    // this buffer.
    void prepend(std::string_view bytes);

  private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace ttscript
