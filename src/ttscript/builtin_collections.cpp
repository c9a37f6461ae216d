// The built-ins that make, change and read lists and dictionaries.
#include <algorithm>
#include <optional>
#include <string>

#include "ttscript/builtin_functions.h"
#include "ttscript/collection.h"
#include "ttscript/run_memory.h"
#include "ttscript/script_failure.h"
#include "ttscript/text_search.h"

namespace ttscript::builtin {
namespace {

enum class Takes : unsigned char { Either, List, Dict };

// The collection `v` holds, when it is of the kind `function` takes; a runtime
// error naming the function otherwise.
Collection& collectionArgument(const Value& v, const char* function, Takes takes) {
    Collection* c = v.collection();
    if (c && (takes == Takes::Either || c->isDict() == (takes == Takes::Dict))) return *c;
    const char* wanted =
        takes == Takes::Either ? "リストか辞書" : (takes == Takes::List ? "リスト" : "辞書");
    throwRuntimeError(std::string("'") + function + "' には" + wanted + "が必要です");
}

Value newList(std::vector<Value> items) {
    Value list = Value::of(new Collection(Collection::Kind::List));
    list.collection()->assignItems(std::move(items));
    return list;
}

// Numbers and numeric texts first, by value; then other texts by UTF-16 code unit.
struct SortKey {
    std::optional<double> number;
    std::string_view text;
    std::size_t position;  // in the collection, for what the sort gives back
};

SortKey sortKey(const Value& v, std::size_t position, const char* function) {
    if (v.isCollection()) {
        throwRuntimeError(std::string("'") + function + "' で並べられるのは数値と文字列だけです");
    }
    return {v.toNumber(), v.rawText(), position};
}

bool before(const SortKey& a, const SortKey& b) {
    if (a.number && b.number) return *a.number < *b.number;
    if (a.number || b.number) return a.number.has_value();
    return compareTextsByCodeUnit(a.text, b.text) < 0;
}

// The keys in order, stable: equal keys keep their order also when descending.
void sortKeys(std::vector<SortKey>& keys, bool descending) {
    if (descending) {
        std::ranges::stable_sort(keys,
                                 [](const SortKey& a, const SortKey& b) { return before(b, a); });
    } else {
        std::ranges::stable_sort(keys, before);
    }
}

bool descending(Arguments a) { return a.size() > 1 && a[1].isTrue(); }

}  // namespace

Value makeList(Arguments a) {
    std::vector<Value> items;
    items.reserve(a.size());
    for (const Value& v : a) items.push_back(v);
    return newList(std::move(items));
}

Value makeDict(Arguments) { return Value::of(new Collection(Collection::Kind::Dict)); }

// Add(list, value) appends; Add(dict, key, value) adds a key that is not there yet.
Value add(Arguments a) {
    Collection& c = collectionArgument(a[0], "Add", Takes::Either);
    if (c.isDict() != (a.size() == 3)) {
        throwRuntimeError(c.isDict() ? "辞書への 'Add' にはキーと値が必要です"
                                     : "リストへの 'Add' には値だけを渡します");
    }
    if (c.isDict()) {
        TextOf key(a[1]);
        if (c.find(key.str())) {
            throwRuntimeError("辞書にキー \"" + shownText(key.str()) + "\" はすでにあります");
        }
        c.findOrAdd(key.str()) = a[2];
    } else {
        c.append(a[1]);
    }
    return Value::emptyText();
}

Value exists(Arguments a) {
    return Value::number(
        collectionArgument(a[0], "Exists", Takes::Dict).find(TextOf(a[1]).str()) ? 1 : 0);
}

// Remove(dict, key) or Remove(list, position); a missing one is an error.
Value remove(Arguments a) {
    Collection& c = collectionArgument(a[0], "Remove", Takes::Either);
    if (c.isDict()) {
        if (!c.erase(TextOf(a[1]).str())) element(c, a[1]);
    } else {
        c.removeAt(static_cast<std::size_t>(&element(c, a[1]) - c.items().data()));
    }
    return Value::emptyText();
}

Value keys(Arguments a) {
    std::vector<Value> out;
    for (const Collection::Entry& e : collectionArgument(a[0], "Keys", Takes::Dict).entries()) {
        if (!e.removed) out.push_back(Value::textOf(e.key));
    }
    return newList(std::move(out));
}

Value size(Arguments a) {
    return Value::number(
        static_cast<double>(collectionArgument(a[0], "Size", Takes::Either).size()));
}

Value join(Arguments a) {
    Collection& c = collectionArgument(a[0], "Join", Takes::List);
    TextOf sepOf(a[1]);
    // The result's size first, so the whole of it is checked against the budget
    // before any of it is made.
    std::size_t size =
        c.items().empty() ? 0 : multiplySizes(c.items().size() - 1, sepOf.str().size());
    for (const Value& item : c.items()) size = addSizes(size, TextOf(item).str().size());
    std::string out;
    reserveToAppend(out, size);
    for (std::size_t i = 0; i < c.items().size(); ++i) {
        if (i > 0) out += sepOf.str();
        out += TextOf(c.items()[i]).str();
    }
    return Value::text(std::move(out));
}

// Split(text, sep): the items `sep` separates, as Count and Item see them.
Value split(Arguments a) {
    TextOf textOf(a[0]), sepOf(a[1]);
    // A long text of separators makes many elements: check they fit first.
    std::size_t count = 0;
    std::size_t bytes = 0;
    SplitItems counting(textOf.str(), sepOf.str());
    for (std::string_view item; counting.next(item);) {
        ++count;
        bytes += sizeof(Value) + Value::textBytes(item.size());
    }
    checkMemoryFor(bytes);
    std::vector<Value> out;
    out.reserve(count);
    SplitItems items(textOf.str(), sepOf.str());
    for (std::string_view item; items.next(item);) out.push_back(Value::textOf(item));
    return newList(std::move(out));
}

// Sort(list[, descending]): a new sorted list; the list itself stays as it was.
Value sort(Arguments a) {
    const std::vector<Value>& items = collectionArgument(a[0], "Sort", Takes::List).items();
    std::vector<SortKey> order;
    order.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) order.push_back(sortKey(items[i], i, "Sort"));
    sortKeys(order, descending(a));
    std::vector<Value> out;
    out.reserve(items.size());
    for (const SortKey& k : order) out.push_back(items[k.position]);
    return newList(std::move(out));
}

// KeysByValue(dict[, descending]): the keys ordered by their values, as Sort orders.
Value keysByValue(Arguments a) {
    const std::vector<Collection::Entry>& entries =
        collectionArgument(a[0], "KeysByValue", Takes::Dict).entries();
    std::vector<SortKey> order;
    order.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].removed) order.push_back(sortKey(entries[i].value, i, "KeysByValue"));
    }
    sortKeys(order, descending(a));
    std::vector<Value> out;
    out.reserve(entries.size());
    for (const SortKey& k : order) out.push_back(Value::textOf(entries[k.position].key));
    return newList(std::move(out));
}

// Copy(x): a new list or dictionary holding the same elements; other values as they are.
Value copy(Arguments a) {
    if (Collection* c = a[0].collection()) return c->copy();
    return a[0];
}

// Lookup(collection, key, default): the element, or `default` when it is not there.
Value lookup(Arguments a) {
    Value* v = findElement(collectionArgument(a[0], "Lookup", Takes::Either), a[1]);
    return v ? *v : a[2];
}

}  // namespace ttscript::builtin
