// Lists and dictionaries. Values share a collection by counting; the run's
// RunMemory counts each collection's bytes against its budget and frees what is
// still alive when the run ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ttscript/block_pool.h"
#include "ttscript/key_index.h"
#include "ttscript/run_memory.h"
#include "ttscript/value.h"

namespace ttscript {

class Collection {
  public:
    enum class Kind : unsigned char { List, Dict };
    struct Entry {
        std::string key;
        Value value;
        bool removed = false;  // a gap Remove left, skipped until the entries are packed
    };

    // A new empty collection of the running script, not yet shared by any value.
    explicit Collection(Kind kind);
    static void* operator new(std::size_t) { return BlockPool<sizeof(Collection)>::take(); }
    static void operator delete(void* p) noexcept { BlockPool<sizeof(Collection)>::give(p); }
    ~Collection();
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;

    bool isDict() const { return kind_ == Kind::Dict; }
    // "リスト" or "辞書", for messages.
    const char* kindName() const { return isDict() ? "辞書" : "リスト"; }
    std::size_t size() const { return isDict() ? entries_.size() - removed_ : items_.size(); }

    // A list's elements; an element may be replaced in place.
    const std::vector<Value>& items() const { return items_; }
    Value& itemAt(std::size_t index) { return items_[index]; }
    void append(Value v);
    void removeAt(std::size_t index);
    void assignItems(std::vector<Value> items);

    // A dictionary's entries in insertion order, with the gaps of removed ones
    // (Entry::removed) in between: a walk skips those.
    const std::vector<Entry>& entries() const { return entries_; }
    Value* find(std::string_view key);
    // The value under `key`, added (unset) at the end when missing.
    Value& findOrAdd(std::string_view key);
    // False when the key is missing. Leaves a gap, so it costs the same whatever the
    // dictionary's size; the entries are packed once gaps are half of them.
    bool erase(std::string_view key);

    // A runtime error while a For Each walks this collection: its elements may be
    // replaced, but none added or removed.
    void checkShapeMayChange() const;

    // Shallow copy: the elements are shared, not copied.
    Value copy() const;

  private:
    friend class Value;
    friend class RunMemory;
    friend class WalkGuard;

    struct Contents {
        std::vector<Value> items;
        std::vector<Entry> entries;
    };

    // Brings the bytes counted for this collection up to date after a change.
    void recount();
    // Drops the gaps removed entries left and indexes the rest anew.
    void pack();
    // Puts every entry in the index anew.
    void reindex();
    // The value of the entry found last when its key is `key`, else null.
    Value* lastFoundIf(std::string_view key);
    // The position of the live entry `key` under its `hash`, or KeyIndex::kNone.
    std::size_t position(std::string_view key, std::size_t hash);
    Contents takeContents();
    void clear();

    Kind kind_;
    int walkers_ = 0;
    std::size_t refs_ = 0;
    std::size_t counted_ = 0;   // bytes taken from the run's budget
    std::size_t keyBytes_ = 0;  // of the dictionary's keys
    std::size_t removed_ = 0;   // gaps in entries_
    RunMemory* memory_;
    Collection* prev_ = nullptr;  // the run's live collections
    Collection* next_ = nullptr;
    std::vector<Value> items_;
    std::vector<Entry> entries_;
    KeyIndex index_;
    static constexpr std::size_t kNone = KeyIndex::kNone;
    std::size_t lastFound_ = kNone;  // the entry find saw last, to skip a second hash
};

// Marks a collection as walked by a For Each for as long as it lives.
class WalkGuard {
  public:
    explicit WalkGuard(Collection& c) : collection_(c) { ++collection_.walkers_; }
    ~WalkGuard() { --collection_.walkers_; }
    WalkGuard(const WalkGuard&) = delete;
    WalkGuard& operator=(const WalkGuard&) = delete;

  private:
    Collection& collection_;
};

// "リストは文字列として使えません": `v` is a collection where `use` is not possible.
[[noreturn]] void collectionMisused(const Value& v, std::string_view use);

// The element of `c` at `key`: a list's position counted from 1, or a dictionary's
// key as text. Null when the position or key is not there; a position that is not
// a whole number is a runtime error.
Value* findElement(Collection& c, const Value& key);
// The same, but a missing element is a runtime error naming it.
Value& element(Collection& c, const Value& key);
// The element to assign: a dictionary adds a missing key, a list must have it.
Value& elementToAssign(Collection& c, const Value& key);

}  // namespace ttscript
