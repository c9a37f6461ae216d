#include "platform/folder_watch.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>

#include "platform/native_path.h"

#ifdef _WIN32
#include <windows.h>
#else
// inotify, and poll() over it and the wake-up pipe.
#include <poll.h>
#include <sys/inotify.h>
// The pipe's ends.
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mirudana {

#ifdef _WIN32

namespace {

constexpr DWORD kWatchedChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                  FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

// One folder's outstanding ReadDirectoryChangesW. The names it brings are not
// read: the caller looks at the folder again anyway.
struct WatchedFolder {
    HANDLE folder = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped{};
    alignas(DWORD) char changes[16384];
};

}  // namespace

struct FolderWatch::System {
    HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::vector<std::unique_ptr<WatchedFolder>> folders;
    bool recursive = false;
    bool notifying = false;

    bool ask(WatchedFolder& watched) {
        return ReadDirectoryChangesW(watched.folder, watched.changes, sizeof watched.changes,
                                     recursive, kWatchedChanges, nullptr, &watched.overlapped,
                                     nullptr) != 0;
    }

    ~System() {
        for (auto& watched : folders) {
            CancelIoEx(watched->folder, &watched->overlapped);
            DWORD ignored;
            GetOverlappedResult(watched->folder, &watched->overlapped, &ignored, TRUE);
            CloseHandle(watched->overlapped.hEvent);
            CloseHandle(watched->folder);
        }
        CloseHandle(wake);
    }
};

FolderWatch::FolderWatch(const std::vector<std::string>& folders, bool recursive,
                         bool notifications)
    : system_(std::make_unique<System>()) {
    system_->recursive = recursive;
    system_->notifying = notifications && !folders.empty();
    if (!notifications) return;
    for (const std::string& folder : folders) {
        auto watched = std::make_unique<WatchedFolder>();
        watched->folder =
            CreateFileW(nativePath(folder).c_str(), FILE_LIST_DIRECTORY,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        if (watched->folder == INVALID_HANDLE_VALUE) {
            system_->notifying = false;
            continue;
        }
        watched->overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!system_->ask(*watched)) {
            system_->notifying = false;
            CloseHandle(watched->overlapped.hEvent);
            CloseHandle(watched->folder);
            continue;
        }
        system_->folders.push_back(std::move(watched));
    }
    // WaitForMultipleObjects takes at most 64 handles, the wake event among them.
    if (system_->folders.size() > MAXIMUM_WAIT_OBJECTS - 1) system_->notifying = false;
}

FolderWatch::~FolderWatch() = default;

bool FolderWatch::notifying() const { return system_->notifying; }

FolderWatch::Wake FolderWatch::wait(std::chrono::milliseconds timeout) {
    std::vector<HANDLE> handles{system_->wake};
    for (std::size_t k = 0; k < system_->folders.size() && handles.size() < MAXIMUM_WAIT_OBJECTS;
         ++k) {
        handles.push_back(system_->folders[k]->overlapped.hEvent);
    }
    const DWORD which = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                               FALSE, static_cast<DWORD>(timeout.count()));
    if (which == WAIT_TIMEOUT) return Wake::TimedOut;
    if (which == WAIT_OBJECT_0) return Wake::Woken;
    const std::size_t index = which - WAIT_OBJECT_0 - 1;
    if (index >= system_->folders.size()) return Wake::TimedOut;
    WatchedFolder& watched = *system_->folders[index];
    DWORD bytes = 0;
    GetOverlappedResult(watched.folder, &watched.overlapped, &bytes, FALSE);
    ResetEvent(watched.overlapped.hEvent);
    // A folder that stops answering (removed, a drive gone) is found by looking again.
    if (!system_->ask(watched)) system_->notifying = false;
    return Wake::Changed;
}

void FolderWatch::wake() { SetEvent(system_->wake); }

#else

namespace {

constexpr std::uint32_t kWatchedChanges = IN_CREATE | IN_DELETE | IN_MODIFY | IN_CLOSE_WRITE |
                                          IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB | IN_DELETE_SELF |
                                          IN_MOVE_SELF | IN_ONLYDIR;

}  // namespace

struct FolderWatch::System {
    int inotify = -1;
    int wakeRead = -1;
    int wakeWrite = -1;
    bool recursive = false;
    bool refused = false;                // a sub-folder the system would not watch
    std::map<int, std::string> watched;  // watch descriptor → folder
    // Each folder given and its watch descriptor, -1 while it has none: a folder
    // removed and made again is watched again once it is back.
    std::vector<std::pair<std::string, int>> given;

    bool notifying() const {
        return inotify >= 0 && !refused &&
               std::ranges::all_of(given, [](const auto& folder) { return folder.second >= 0; });
    }

    // Watches `folder` (and, recursive, its sub-folders); its descriptor, or -1.
    int add(const std::string& folder) {
        const int descriptor = inotify_add_watch(inotify, folder.c_str(), kWatchedChanges);
        if (descriptor < 0) return -1;
        watched[descriptor] = folder;
        if (!recursive) return descriptor;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(
                 folder, std::filesystem::directory_options::skip_permission_denied, ec);
             !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec)) addSubFolder(it->path().string());
        }
        return descriptor;
    }

    // A sub-folder gone before it could be watched needs no watch.
    void addSubFolder(const std::string& folder) {
        if (add(folder) < 0 && errno != ENOENT) refused = true;
    }

    void watchGivenFolders() {
        if (inotify < 0) return;
        for (auto& [folder, descriptor] : given) {
            if (descriptor < 0) descriptor = add(folder);
        }
    }

    bool isGiven(int descriptor) const {
        return std::ranges::any_of(
            given, [descriptor](const auto& folder) { return folder.second == descriptor; });
    }

    // The watch on `descriptor` has ended.
    void forget(int descriptor) {
        watched.erase(descriptor);
        for (auto& folder : given) {
            if (folder.second == descriptor) folder.second = -1;
        }
    }

    // Reads the queued events; a folder made in a recursively watched one is
    // watched from now on.
    void drain() {
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            const ssize_t got = ::read(inotify, buffer, sizeof buffer);
            if (got <= 0) return;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                if (recursive && (event->mask & IN_ISDIR) &&
                    (event->mask & (IN_CREATE | IN_MOVED_TO)) && event->len > 0 &&
                    watched.contains(event->wd)) {
                    addSubFolder(watched[event->wd] + "/" + event->name);
                }
                // A given folder moved away is no longer where it was given.
                if ((event->mask & IN_MOVE_SELF) && isGiven(event->wd)) {
                    inotify_rm_watch(inotify, event->wd);
                    forget(event->wd);
                }
                if (event->mask & IN_IGNORED) forget(event->wd);
            }
        }
    }

    ~System() {
        for (int descriptor : {inotify, wakeRead, wakeWrite}) {
            if (descriptor >= 0) ::close(descriptor);
        }
    }
};

FolderWatch::FolderWatch(const std::vector<std::string>& folders, bool recursive,
                         bool notifications)
    : system_(std::make_unique<System>()) {
    int ends[2];
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0) {
        system_->wakeRead = ends[0];
        system_->wakeWrite = ends[1];
    }
    system_->recursive = recursive;
    if (!notifications || folders.empty()) return;
    system_->inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    for (const std::string& folder : folders) system_->given.emplace_back(folder, -1);
    system_->watchGivenFolders();
}

FolderWatch::~FolderWatch() = default;

bool FolderWatch::notifying() const { return system_->notifying(); }

FolderWatch::Wake FolderWatch::wait(std::chrono::milliseconds timeout) {
    system_->watchGivenFolders();
    pollfd waits[2] = {{system_->wakeRead, POLLIN, 0}, {system_->inotify, POLLIN, 0}};
    const int ready =
        ::poll(waits, system_->inotify >= 0 ? 2 : 1, static_cast<int>(timeout.count()));
    if (ready < 0) return errno == EINTR ? Wake::Woken : Wake::TimedOut;
    if (ready == 0) return Wake::TimedOut;
    if (waits[0].revents != 0) {
        char drained[64];
        while (::read(system_->wakeRead, drained, sizeof drained) > 0) {
        }
        return Wake::Woken;
    }
    system_->drain();
    return Wake::Changed;
}

void FolderWatch::wake() {
    const char one = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t written = ::write(system_->wakeWrite, &one, 1);
}

#endif

}  // namespace mirudana
