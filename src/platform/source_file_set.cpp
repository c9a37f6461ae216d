#include "platform/source_file_set.h"

#include <algorithm>

#include "platform/file_system.h"

namespace mirudana {
namespace {

// The folder part of `path`, without its last separator unless that is all of it.
std::string folderOf(const std::string& path) {
    std::size_t end = path.find_last_of("/\\");
    if (end == std::string::npos) return ".";
    bool root = end == 0 || path[end - 1] == ':';
    return path.substr(0, root ? end + 1 : end);
}

}  // namespace

SourceFileSet::File& SourceFileSet::entryFor(const std::string& path) {
    auto [place, added] = places_.try_emplace(path, files_.size());
    if (!added) return files_[place->second];
    std::string folder = folderOf(path);
    auto known = [&](const Folder& f) { return f.path == folder; };
    if (std::none_of(folders_.begin(), folders_.end(), known)) {
        std::optional<FolderStamp> stamp = folderStamp(folder);
        if (stamp && std::chrono::system_clock::now() - stamp->changed < settled_) stamp.reset();
        folders_.push_back({std::move(folder), stamp});
    }
    return files_.emplace_back(File{path, std::nullopt});
}

void SourceFileSet::add(const std::string& path) { entryFor(path); }

std::string SourceFileSet::read(const std::string& path, std::uint64_t maxBytes) {
    File& file = entryFor(path);
    return readWholeFile(path, maxBytes, &file.identity);
}

bool SourceFileSet::foldersUnchanged() const {
    return std::all_of(folders_.begin(), folders_.end(),
                       [](const Folder& f) { return f.stamp && folderStamp(f.path) == f.stamp; });
}

std::optional<std::string> SourceFileSet::fileAt(const FileIdentity& identity) const {
    const bool identitiesHold = foldersUnchanged();
    for (const File& file : files_) {
        std::optional<FileIdentity> now =
            identitiesHold && file.identity ? file.identity : fileIdentity(file.path);
        if (now == identity) return file.path;
    }
    return std::nullopt;
}

}  // namespace mirudana
