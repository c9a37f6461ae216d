// The battle file list, reached through plain operations so the run works the
// same on the window's list box and on a vector.
#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace mirudana {

// List positions are 16-bit: a run's list holds at most this many battle files, so
// the script can step to every one of them.
inline constexpr int kMaxBattleFiles = std::numeric_limits<std::int16_t>::max();

// entryAt, replaceAt and removeAt throw std::out_of_range (checkPosition) for a
// position outside the list.
class BattleFileList {
  public:
    virtual ~BattleFileList() = default;

    virtual int count() const = 0;
    virtual std::string entryAt(int index) const = 0;
    virtual void replaceAt(int index, const std::string& entry) = 0;
    virtual void removeAt(int index) = 0;
    virtual void append(const std::string& entry) = 0;
    // Entries in their order, such as a folder's battle files; a list shown on screen
    // may draw once for all of them. What joined before a failure stays.
    virtual void appendAll(const std::vector<std::string>& entries) {
        for (const std::string& entry : entries) append(entry);
    }
    virtual void clear() = 0;

  protected:
    void checkPosition(int index) const {
        if (index < 0 || index >= count()) {
            throw std::out_of_range("no battle file at list position " + std::to_string(index));
        }
    }
};

class VectorFileList : public BattleFileList {
  public:
    VectorFileList() = default;
    explicit VectorFileList(std::vector<std::string> entries) : entries_(std::move(entries)) {}

    int count() const override { return static_cast<int>(entries_.size()); }
    std::string entryAt(int index) const override {
        checkPosition(index);
        return entries_[index];
    }
    void replaceAt(int index, const std::string& entry) override {
        checkPosition(index);
        entries_[index] = entry;
    }
    void removeAt(int index) override {
        checkPosition(index);
        entries_.erase(entries_.begin() + index);
    }
    void append(const std::string& entry) override { entries_.push_back(entry); }
    void clear() override { entries_.clear(); }

  private:
    std::vector<std::string> entries_;
};

}  // namespace mirudana
