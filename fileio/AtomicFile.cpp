#include "fileio/AtomicFile.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace fileio {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;

// The names a signal handler has to remove. This is the library's one piece of process-wide
// state: a handler is given no context, so the names must be where it can find them. A slot
// is claimed and given back with atomic flags, never a lock, so the handler can read it at
// any moment.
struct PendingName {
    std::atomic<bool> claimed{false};
    std::atomic<bool> ready{false};
    char path[PATH_MAX] = {};
};
static_assert(std::atomic<bool>::is_always_lock_free);
constexpr std::size_t kPendingSlots = 8;
std::array<PendingName, kPendingSlots> pendingNames;

// Puts `path` where RemoveUncommittedFiles finds it; -1 when every slot is taken.
int ClaimPendingName(const std::string& path) {
    if (path.size() >= PATH_MAX) {
        return -1;
    }
    for (std::size_t k = 0; k < kPendingSlots; ++k) {
        PendingName& slot = pendingNames[k];
        bool expected = false;
        if (slot.claimed.compare_exchange_strong(expected, true)) {
            std::memcpy(slot.path, path.c_str(), path.size() + 1);
            slot.ready.store(true, std::memory_order_release);
            return static_cast<int>(k);
        }
    }
    return -1;
}

void ReleasePendingName(int slot) {
    if (slot >= 0) {
        pendingNames[static_cast<std::size_t>(slot)].ready.store(false, std::memory_order_release);
        pendingNames[static_cast<std::size_t>(slot)].claimed.store(false,
                                                                   std::memory_order_release);
    }
}

// Holds back the signals that can be caught while a name comes into being and is recorded, so
// no handler runs in between; they arrive when the object goes.
class SignalsHeld {
  public:
    SignalsHeld() {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, &previous_);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t previous_;
};

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A hidden name beside the target, so the rename stays within one file system.
std::string HiddenPrefix(const std::string& path) {
    std::string name = NameOf(path);
    if (name.size() > 200) {
        name.resize(200);
    }
    return FolderOf(path) + "/." + name + ".";
}

// The process's file creation mask, read without changing it: umask() itself can only be read
// by setting it, which would race with any other thread creating files.
mode_t CurrentUmask() {
    std::string status;
    if (ReadRegularFile("/proc/self/status", 1 << 20, status).ok()) {
        if (const auto at = status.find("\nUmask:"); at != std::string::npos) {
            return static_cast<mode_t>(std::strtoul(status.c_str() + at + 7, nullptr, 8));
        }
    }
    const mode_t mask = umask(022);
    umask(mask);
    return mask;
}

std::string ProcFdPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// Links the open unnamed file `fd` at `path`; false with errno set on failure.
bool LinkDescriptor(int fd, const std::string& path) {
    if (::linkat(AT_FDCWD, ProcFdPath(fd).c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) ==
        0) {
        return true;
    }
    const int error = errno;
    // Without /proc, the privileged form may still work.
    if (error == ENOENT && ::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) {
        return true;
    }
    errno = error;
    return false;
}

}  // namespace

void RemoveUncommittedFiles() noexcept {
    for (PendingName& slot : pendingNames) {
        if (slot.ready.load(std::memory_order_acquire)) {
            ::unlink(slot.path);
        }
    }
}

FileStatus AtomicFile::Open(std::string path, Staging staging) {
    if (file_.IsOpen() || committed_) {
        return FileStatus::System(EBUSY);
    }
    path_ = std::move(path);
    if (staging == Staging::kBest) {
        File unnamed(::open(FolderOf(path_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        // Committing needs /proc to name the file by its descriptor (or the privilege to
        // link it without a name); without either, the named way is the safe one.
        struct stat st {};
        if (unnamed.IsOpen() && ::stat(ProcFdPath(unnamed.descriptor()).c_str(), &st) == 0) {
            file_ = std::move(unnamed);
            unnamed_ = true;
        }
    }
    if (!unnamed_) {
        tempPath_ = HiddenPrefix(path_) + "XXXXXX";
        const SignalsHeld held;
        file_ = File(mkostemp(tempPath_.data(), O_CLOEXEC));
        if (file_.IsOpen()) {
            pendingSlot_ = ClaimPendingName(tempPath_);
        } else {
            const int error = errno;
            tempPath_.clear();
            return FileStatus::System(error);
        }
    }
    buffer_.reserve(kBufferSize);
    return {};
}

AtomicFile::~AtomicFile() {
    file_.Close();
    if (!committed_ && !tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
    }
    ReleasePendingName(pendingSlot_);
}

FileStatus AtomicFile::Write(std::string_view bytes) {
    written_ += bytes.size();
    if (buffer_.size() + bytes.size() <= kBufferSize) {
        buffer_.append(bytes);
        return {};
    }
    if (const FileStatus status = Flush(); !status.ok()) {
        return status;
    }
    if (bytes.size() >= kBufferSize) {
        buffer_.assign(bytes);
        return Flush();
    }
    buffer_.append(bytes);
    return {};
}

FileStatus AtomicFile::Flush() {
    if (const FileStatus status = file_.WriteAll(buffer_); !status.ok()) {
        return status;
    }
    buffer_.clear();
    return {};
}

FileStatus AtomicFile::Commit() {
    if (!file_.IsOpen() || committed_) {
        return FileStatus::System(EBADF);
    }
    if (const FileStatus status = Flush(); !status.ok()) {
        return status;
    }
    // A named temporary file is private (0600); a book is an ordinary document. An unnamed
    // one was created with the ordinary permissions.
    if (!unnamed_) {
        if (const FileStatus status = file_.SetMode(0666 & ~CurrentUmask()); !status.ok()) {
            return status;
        }
    }
    // When a book is replaced, its new data must be on disk before it takes the old one's
    // place, or a crash could leave an empty book instead. A new book risks nothing of the
    // user's, so it is spared the wait: a batch writes thousands of them.
    struct stat existing {};
    if (::lstat(path_.c_str(), &existing) == 0) {
        if (const FileStatus status = file_.Sync(); !status.ok()) {
            return status;
        }
    }
    const FileStatus placed = unnamed_ ? LinkUnnamed() : RenameNamed();
    committed_ = placed.ok();
    return placed;
}

FileStatus AtomicFile::LinkUnnamed() {
    if (LinkDescriptor(file_.descriptor(), path_)) {
        return file_.Close();
    }
    if (errno != EEXIST) {
        return FileStatus::System(errno);
    }
    // Something is at the path: the complete file takes a hidden name beside it for the
    // moment of the rename, which replaces the old file in one step. Signals wait until the
    // rename is done, so only an outright kill in that moment could leave the name behind.
    const SignalsHeld held;
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(entropy()));
        const std::string candidate = HiddenPrefix(path_) + suffix;
        if (!LinkDescriptor(file_.descriptor(), candidate)) {
            if (errno == EEXIST) {
                continue;
            }
            return FileStatus::System(errno);
        }
        tempPath_ = candidate;
        return RenameNamed();
    }
    return FileStatus::System(EEXIST);
}

FileStatus AtomicFile::RenameNamed() {
    if (const FileStatus status = file_.Close(); !status.ok()) {
        return status;
    }
    if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
        return FileStatus::System(error);
    }
    tempPath_.clear();
    ReleasePendingName(pendingSlot_);
    pendingSlot_ = -1;
    return {};
}

}  // namespace fileio
