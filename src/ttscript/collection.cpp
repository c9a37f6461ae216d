#include "ttscript/collection.h"

#include <cassert>
#include <cmath>

#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

thread_local RunMemory* currentMemory = nullptr;

// Keys and values shown in messages are cut to this many bytes.
constexpr std::size_t kShownBytes = 40;

std::string shown(const Value& v) {
    if (v.isCollection()) return v.collection()->kindName();
    std::string text = v.toText();
    if (text.size() > kShownBytes) text.resize(kShownBytes);
    return v.isNumber() ? text : "\"" + text + "\"";
}

// The 0-based position `key` names in a list of `size` elements, or `size` when out of range.
std::size_t listPosition(std::size_t size, const Value& key) {
    double n = key.requireNumber();
    if (n != std::trunc(n)) throwRuntimeError("リストの位置は整数です: " + shown(key));
    if (n < 1 || n > static_cast<double>(size)) return size;
    return static_cast<std::size_t>(n) - 1;
}

[[noreturn]] void missing(const Collection& c, const Value& key) {
    if (c.isDict()) throwRuntimeError("辞書にキー " + shown(key) + " がありません");
    throwRuntimeError("リストに " + shown(key) + " 番目の要素はありません（要素は " +
                      std::to_string(c.size()) + " 個）");
}

}  // namespace

Collection::Collection(Kind kind) : kind_(kind), memory_(&RunMemory::current()) {
    next_ = memory_->live_;
    if (next_) next_->prev_ = this;
    memory_->live_ = this;
}

Collection::~Collection() {
    if (prev_) prev_->next_ = next_;
    if (next_) next_->prev_ = prev_;
    if (memory_->live_ == this) memory_->live_ = next_;
}

Value* Collection::find(std::string_view key) {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second].value;
}

Value& Collection::findOrAdd(std::string_view key) {
    if (Value* v = find(key)) return *v;
    checkShapeMayChange();
    index_.emplace(std::string(key), entries_.size());
    entries_.push_back({std::string(key), Value()});
    return entries_.back().value;
}

bool Collection::erase(std::string_view key) {
    auto it = index_.find(key);
    if (it == index_.end()) return false;
    checkShapeMayChange();
    std::size_t at = it->second;
    index_.erase(it);
    // Insertion order is kept, so the entries after it move down one place.
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
    for (auto& [k, position] : index_) {
        if (position > at) --position;
    }
    return true;
}

void Collection::checkShapeMayChange() const {
    if (walkers_ > 0) {
        throwRuntimeError(std::string("For Each で回している") + kindName() +
                          "に要素を足したり除いたりはできません");
    }
}

Collection* Collection::copy() const {
    auto* c = new Collection(kind_);
    c->items_ = items_;
    c->entries_ = entries_;
    c->index_ = index_;
    return c;
}

RunMemory::RunMemory() : outer_(currentMemory) { currentMemory = this; }

RunMemory::~RunMemory() {
    // Pinned, every collection stays alive while the others drop their shares of it.
    for (Collection* c = live_; c; c = c->next_) ++c->refs_;
    for (Collection* c = live_; c; c = c->next_) {
        std::vector<Value>().swap(c->items_);
        std::vector<Collection::Entry>().swap(c->entries_);
    }
    while (live_) delete live_;
    currentMemory = outer_;
}

RunMemory& RunMemory::current() {
    assert(currentMemory && "collections are made only while a script runs");
    return *currentMemory;
}

void RunMemory::release(Collection* c) {
    dying_.push_back(c);
    if (freeing_) return;
    freeing_ = true;
    while (!dying_.empty()) {
        Collection* next = dying_.back();
        dying_.pop_back();
        // Its elements are dropped here, at this level, not inside its destructor.
        std::vector<Value> items = std::move(next->items_);
        std::vector<Collection::Entry> entries = std::move(next->entries_);
        delete next;
    }
    freeing_ = false;
}

void collectionMisused(const Value& v, std::string_view use) {
    throwRuntimeError(std::string(v.collection()->kindName()) + "は" + std::string(use) +
                      "使えません");
}

Value* findElement(Collection& c, const Value& key) {
    if (c.isDict()) return c.find(TextOf(key).str());
    std::size_t at = listPosition(c.items().size(), key);
    return at < c.items().size() ? &c.items()[at] : nullptr;
}

Value& element(Collection& c, const Value& key) {
    if (Value* v = findElement(c, key)) return *v;
    missing(c, key);
}

Value& elementToAssign(Collection& c, const Value& key) {
    if (c.isDict()) return c.findOrAdd(TextOf(key).str());
    return element(c, key);
}

}  // namespace ttscript
