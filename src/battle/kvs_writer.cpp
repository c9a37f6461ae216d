#include "battle/kvs_writer.h"

#include <stdexcept>

#include "platform/codepage.h"

namespace mirudana::kvs {
namespace {

void appendLittleEndian(std::string& out, std::uint32_t value, int size) {
    for (int k = 0; k < size; ++k) out.push_back(static_cast<char>(value >> (8 * k) & 0xFF));
}

}  // namespace

KvsWriter& KvsWriter::number(std::int16_t value) {
    appendLittleEndian(bytes_, static_cast<std::uint16_t>(value), 2);
    spans_.push_back({bytes_.size() - 2, bytes_.size()});
    return *this;
}

KvsWriter& KvsWriter::truth(bool value) { return number(value ? -1 : 0); }

KvsWriter& KvsWriter::uint32(std::uint32_t value) {
    appendLittleEndian(bytes_, value, 4);
    return *this;
}

KvsWriter& KvsWriter::int32(std::int32_t value) {
    return uint32(static_cast<std::uint32_t>(value));
}

KvsWriter& KvsWriter::text(std::string_view utf8) { return rawText(utf8ToCp932(utf8)); }

KvsWriter& KvsWriter::rawText(std::string_view cp932) {
    if (cp932.size() > 0xFFFF)
        throw std::length_error("a battle file text holds at most 65535 bytes");
    std::size_t begin = bytes_.size();
    appendLittleEndian(bytes_, static_cast<std::uint32_t>(cp932.size()), 2);
    bytes_.append(cp932);
    spans_.push_back({begin, bytes_.size()});
    return *this;
}

KvsWriter& KvsWriter::textList(const TextList& list) {
    if (!list.present) return number(0);
    return multiDimList({{list.count, list.lowerBound}}, list.items.toVector());
}

KvsWriter& KvsWriter::multiDimList(const std::vector<Dimension>& dimensions,
                                   const std::vector<std::string>& items) {
    std::size_t begin = bytes_.size();
    std::size_t spans = spans_.size();
    number(static_cast<std::int16_t>(dimensions.size()));
    for (const Dimension& d : dimensions) uint32(d.count).int32(d.lowerBound);
    for (const std::string& item : items) text(item);
    spans_.resize(spans);
    spans_.push_back({begin, bytes_.size()});
    return *this;
}

KvsWriter& KvsWriter::raw(std::string_view bytes) {
    bytes_.append(bytes);
    return *this;
}

KvsWriter& KvsWriter::record(const BattleRecord& record) {
    side(record.Server);
    side(record.Client);
    number(record.TurnCount).text(record.AuxText).text(record.InfoText);
    for (const std::string& aux : record.AuxTexts) text(aux);
    return *this;
}

void KvsWriter::side(const SideRecord& side) {
    master(side.Master);
    for (const MonsterRecord& slot : side.Monsters) monster(slot);
}

void KvsWriter::master(const MasterRecord& master) {
    text(master.Name);
    deck(master.Deck);
    textList(master.DrawPile).textList(master.Hand).textList(master.DiscardPile);
    number(master.HitPoints).number(master.Stones).truth(master.FirstPlayer).text(master.Status);
}

void KvsWriter::deck(const DeckRecord& deck) {
    text(deck.DeckName).text(deck.AuthorName).number(deck.DeckType);
    textList(deck.Cards).text(deck.Master);
}

void KvsWriter::monster(const MonsterRecord& monster) {
    text(monster.Card).truth(monster.StateFlag).number(monster.Level).number(monster.HitPoints);
    text(monster.Status);
}

std::string encodeBattleRecord(const BattleRecord& record) {
    return KvsWriter().record(record).bytes();
}

TextList textListOf(std::vector<std::string> items, std::int32_t lowerBound) {
    TextList list;
    list.present = true;
    list.lowerBound = lowerBound;
    list.count = static_cast<std::uint32_t>(items.size());
    list.items = TextItems(items);
    return list;
}

}  // namespace mirudana::kvs
