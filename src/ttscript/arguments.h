// A built-in's arguments, read where they stand: each is a pointer to the script's
// value (a variable, a constant or a result worked out for the call), so passing
// one copies nothing.
#pragma once

#include <cstddef>

#include "ttscript/value.h"

namespace ttscript {

class Arguments {
  public:
    class Iterator {
      public:
        explicit Iterator(const Value* const* at) : at_(at) {}
        const Value& operator*() const { return **at_; }
        Iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator==(const Iterator&) const = default;

      private:
        const Value* const* at_;
    };

    Arguments(const Value* const* values, std::size_t size) : values_(values), size_(size) {}

    std::size_t size() const { return size_; }
    const Value& operator[](std::size_t i) const { return *values_[i]; }
    Arguments subspan(std::size_t from) const { return {values_ + from, size_ - from}; }
    Iterator begin() const { return Iterator(values_); }
    Iterator end() const { return Iterator(values_ + size_); }

  private:
    const Value* const* values_;
    std::size_t size_;
};

}  // namespace ttscript
