#include "ttscript/name_store.h"

#include <algorithm>
#include <cstring>

namespace ttscript {
namespace {

constexpr std::size_t kChunkBytes = 16 * 1024;

}  // namespace

std::string_view NameStore::keep(std::string_view name) {
    if (name.size() > room_) {
        std::size_t size = std::max(kChunkBytes, name.size());
        chunks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        next_ = chunks_.back().get(), room_ = size;
    }
    char* at = next_;
    if (!name.empty()) std::memcpy(at, name.data(), name.size());
    next_ += name.size(), room_ -= name.size();
    return {at, name.size()};
}

void NameStore::adopt(NameStore&& other) {
    chunks_.reserve(chunks_.size() + other.chunks_.size());
    for (auto& chunk : other.chunks_) chunks_.push_back(std::move(chunk));
    other.chunks_.clear();
    other.next_ = nullptr, other.room_ = 0;
}

}  // namespace ttscript
