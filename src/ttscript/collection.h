// Lists and dictionaries, and the memory of one run that owns them. Values share a
// collection by counting; what is still alive when a run ends (cycles included) is
// freed by the run's RunMemory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ttscript/value.h"

namespace ttscript {

class RunMemory;

class Collection {
  public:
    enum class Kind : unsigned char { List, Dict };
    struct Entry {
        std::string key;
        Value value;
    };

    // A new empty collection of the running script, not yet shared by any value.
    explicit Collection(Kind kind);
    ~Collection();
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;

    bool isDict() const { return kind_ == Kind::Dict; }
    // "リスト" or "辞書", for messages.
    const char* kindName() const { return isDict() ? "辞書" : "リスト"; }
    std::size_t size() const { return isDict() ? entries_.size() : items_.size(); }

    // A list's elements. Growing or shrinking them goes through checkShapeMayChange.
    std::vector<Value>& items() { return items_; }

    // A dictionary's entries in insertion order.
    const std::vector<Entry>& entries() const { return entries_; }
    Value* find(std::string_view key);
    // The value under `key`, added (unset) at the end when missing.
    Value& findOrAdd(std::string_view key);
    // False when the key is missing.
    bool erase(std::string_view key);

    // A runtime error while a For Each walks this collection: its elements may be
    // replaced, but none added or removed.
    void checkShapeMayChange() const;

    // Shallow copy: the elements are shared, not copied.
    Collection* copy() const;

  private:
    friend class Value;
    friend class RunMemory;
    friend class WalkGuard;

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };

    Kind kind_;
    int walkers_ = 0;
    std::size_t refs_ = 0;
    RunMemory* memory_;
    Collection* prev_ = nullptr;  // the run's live collections
    Collection* next_ = nullptr;
    std::vector<Value> items_;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> index_;
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

// Everything one run allocates for its collections. While it is the current one
// (between construction and destruction, on the running thread), new collections
// belong to it. Destroying it frees every collection still alive, cycles included:
// by then no value outside the collections may refer to one.
class RunMemory {
  public:
    RunMemory();
    ~RunMemory();
    RunMemory(const RunMemory&) = delete;
    RunMemory& operator=(const RunMemory&) = delete;

    static RunMemory& current();

  private:
    friend class Collection;
    friend class Value;

    // Frees a collection whose last share is gone. Nested collections freed by it
    // queue up instead of recursing, so a chain of any length cannot exhaust the stack.
    void release(Collection* c);

    RunMemory* outer_;
    Collection* live_ = nullptr;
    std::vector<Collection*> dying_;
    bool freeing_ = false;
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
