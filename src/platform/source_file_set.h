// The files a set of tables was read from, kept so that nothing is ever written over
// one of them. Each file's identity is noted as it is read, so telling whether a
// file is one of them costs a look at their folders, not at every file.
#pragma once

#include <chrono>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_identity.h"

namespace mirudana {

class SourceFileSet {
  public:
    // A folder changed less than `settled` before it is stamped might change again
    // within the same tick of its file system's clock, unseen; its files are looked
    // at one by one instead. Two seconds cover the coarsest clock (FAT's).
    explicit SourceFileSet(std::chrono::nanoseconds settled = std::chrono::seconds(2))
        : settled_(settled) {}

    // Notes `path` as a source before it is read, once however often it is given.
    // Its folder is stamped when first met, so that a file replaced later is noticed.
    void add(const std::string& path);

    // add, then readWholeFile, noting the identity of the file read.
    std::string read(const std::string& path,
                     std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max());

    // The first source that is the file `identity` names. The identities noted stand
    // while every folder keeps its stamp; once one has changed, and for a file not
    // read whole, each path is looked at again.
    std::optional<std::string> fileAt(const FileIdentity& identity) const;

  private:
    struct File {
        std::string path;
        std::optional<FileIdentity> identity;  // as read
    };
    struct Folder {
        std::string path;
        std::optional<FolderStamp> stamp;  // before any of its files was read, if settled
    };
    // The entry of `path`, made (and its folder stamped) when `path` is new.
    File& entryFor(const std::string& path);
    bool foldersUnchanged() const;

    std::chrono::nanoseconds settled_;
    std::vector<File> files_;
    std::unordered_map<std::string, std::size_t> places_;  // by path: the place in files_
    std::vector<Folder> folders_;
};

}  // namespace mirudana
