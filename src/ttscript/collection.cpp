#include "ttscript/collection.h"

#include <cassert>
#include <cmath>

#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

std::string shown(const Value& v) {
    if (v.isCollection()) return v.collection()->kindName();
    std::string text = shownText(v.toText());
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

// What the allocator adds to each block it hands out.
constexpr std::size_t kBlockOverhead = 16;

std::size_t blockBytes(std::size_t capacity, std::size_t elementSize) {
    return capacity == 0 ? 0 : capacity * elementSize + kBlockOverhead;
}

}  // namespace

Collection::Collection(Kind kind) : kind_(kind), memory_(RunMemory::current()) {
    assert(memory_ && "collections are made only while a script runs");
    next_ = memory_->live_;
    if (next_) next_->prev_ = this;
    memory_->live_ = this;
    // Counted without the budget check: a constructor that threw would leave it linked.
    counted_ = sizeof(Collection) + kBlockOverhead;
    memory_->used_ += counted_;
}

Collection::~Collection() {
    if (prev_) prev_->next_ = next_;
    if (next_) next_->prev_ = prev_;
    if (memory_->live_ == this) memory_->live_ = next_;
    memory_->give(counted_);
}

void Collection::recount() {
    std::size_t table = index_.tableBytes();
    std::size_t now = sizeof(Collection) + kBlockOverhead +
                      blockBytes(items_.capacity(), sizeof(Value)) +
                      blockBytes(entries_.capacity(), sizeof(Entry)) +
                      (table > 0 ? table + kBlockOverhead : 0) + keyBytes_;
    std::size_t before = counted_;
    counted_ = now;
    if (now >= before) {
        memory_->take(now - before);
    } else {
        memory_->give(before - now);
    }
}

void Collection::append(Value v) {
    checkShapeMayChange();
    if (items_.size() == items_.capacity()) {
        checkMemoryFor((2 * items_.capacity() + 1) * sizeof(Value));
    }
    items_.push_back(std::move(v));
    recount();
}

void Collection::removeAt(std::size_t index) {
    checkShapeMayChange();
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    recount();
}

void Collection::assignItems(std::vector<Value> items) {
    items_ = std::move(items);
    recount();
}

Collection::Contents Collection::takeContents() {
    index_.clear();
    Contents contents{std::move(items_), std::move(entries_)};
    items_.clear(), entries_.clear();
    lastFound_ = kNone;
    keyBytes_ = 0, removed_ = 0;
    return contents;
}

void Collection::clear() { Contents dropped = takeContents(); }

// Worked out where it is used: a call costs about what the probe for a short key does.
[[gnu::always_inline]] inline std::size_t Collection::position(std::string_view key,
                                                               std::size_t hash) {
    std::size_t at =
        index_.find(hash, [&](std::size_t p) { return sameText(entries_[p].key, key); });
    if (at != kNone) lastFound_ = at;
    return at;
}

// `counts(k) = counts(k) + 1` looks a key up, then assigns it: the one found last
// is compared before the key is hashed again. A lookup does not: it is seldom the
// same key as the one before.
Value* Collection::lastFoundIf(std::string_view key) {
    if (lastFound_ < entries_.size() && !entries_[lastFound_].removed &&
        sameText(entries_[lastFound_].key, key)) {
        return &entries_[lastFound_].value;
    }
    return nullptr;
}

Value* Collection::find(std::string_view key) {
    std::size_t at = position(key, KeyIndex::hashOf(key));
    return at == kNone ? nullptr : &entries_[at].value;
}

Value& Collection::findOrAdd(std::string_view key) {
    if (Value* last = lastFoundIf(key)) return *last;
    std::size_t hash = KeyIndex::hashOf(key);
    if (std::size_t at = position(key, hash); at != kNone) return entries_[at].value;
    checkShapeMayChange();
    // A full vector moves to one twice its size, both held for a moment; so does a
    // full index.
    std::size_t growth = entries_.size() == entries_.capacity() ? 2 * entries_.capacity() : 0;
    checkMemoryFor(key.size() + 2 * kBlockOverhead + index_.growthBytes() +
                   (growth + 1) * sizeof(Entry));
    entries_.push_back({std::string(key), Value()});
    try {
        index_.insert(hash, entries_.size() - 1);
    } catch (...) {
        entries_.pop_back();
        throw;
    }
    lastFound_ = entries_.size() - 1;
    keyBytes_ += key.size() + kBlockOverhead;
    recount();
    return entries_.back().value;
}

bool Collection::erase(std::string_view key) {
    std::size_t hash = KeyIndex::hashOf(key);
    std::size_t at = position(key, hash);
    if (at == kNone) return false;
    checkShapeMayChange();
    Entry& gone = entries_[at];
    index_.erase(hash, at);
    lastFound_ = kNone;
    keyBytes_ -= gone.key.size() + kBlockOverhead;
    std::string().swap(gone.key);
    Value dropped = std::move(gone.value);
    gone.removed = true;
    ++removed_;
    if (removed_ > entries_.size() / 2) pack();
    recount();
    return true;
}

void Collection::pack() {
    std::erase_if(entries_, [](const Entry& e) { return e.removed; });
    removed_ = 0;
    reindex();
}

void Collection::reindex() {
    index_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i)
        index_.insert(KeyIndex::hashOf(entries_[i].key), i);
}

void Collection::checkShapeMayChange() const {
    if (walkers_ > 0) {
        throwRuntimeError(std::string("For Each で回している") + kindName() +
                          "に要素を足したり除いたりはできません");
    }
}

Value Collection::copy() const {
    checkMemoryFor(counted_);
    Value held = Value::of(new Collection(kind_));
    Collection& c = *held.collection();
    c.items_ = items_;
    for (const Entry& e : entries_) {
        if (!e.removed) c.entries_.push_back({e.key, e.value});
    }
    c.reindex();
    c.keyBytes_ = keyBytes_;
    c.recount();
    return held;
}

void collectionMisused(const Value& v, std::string_view use) {
    throwRuntimeError(std::string(v.collection()->kindName()) + "は" + std::string(use) +
                      "使えません");
}

Value* findElement(Collection& c, const Value& key) {
    if (c.isDict()) return c.find(key.isText() ? key.rawText() : TextOf(key).str());
    std::size_t at = listPosition(c.items().size(), key);
    return at < c.items().size() ? &c.itemAt(at) : nullptr;
}

Value& element(Collection& c, const Value& key) {
    if (Value* v = findElement(c, key)) return *v;
    missing(c, key);
}

Value& elementToAssign(Collection& c, const Value& key) {
    if (c.isDict()) return c.findOrAdd(key.isText() ? key.rawText() : TextOf(key).str());
    return element(c, key);
}

}  // namespace ttscript
