#include "filelist/FolderWalk.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <utility>

#include "filelist/FileAttributes.h"
#include "filelist/FolderListing.h"
#include "filelist/NameCharacters.h"
#include "util/AppError.h"
#include "util/Outcome.h"
#include "util/PathHelpers.h"

namespace quillane {

namespace {

// Paths and names this long are not walked, as the desktop's classic path limit demands.
constexpr std::size_t kPathLimit = 260;

using FolderIdentity = std::pair<dev_t, ino_t>;

FolderIdentity IdentityOf(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        if (errno == ENOENT) {
            Raise(errc::kPathNotFound);
        }
        RaiseFromErrno(errno);
    }
    return {st.st_dev, st.st_ino};
}

bool IsRoot(const std::string& folder) {
    return NormalizePath(folder) == "/";
}

bool IsProtectedFolder(const std::string& folder) {
    const auto bits = FileAttributes(folder);
    return bits && (*bits == attr::kProtectedFolder || *bits == attr::kProtectedFolderLink);
}

// Removes the first entry equal to `folder`.
void RemoveFirst(FolderList& folders, const std::string& folder) {
    const auto it = std::find(folders.begin(), folders.end(), folder);
    if (it != folders.end()) {
        folders.erase(it);
    }
}

class Walker {
  public:
    explicit Walker(YieldFunction yield) : yield_(std::move(yield)) {}

    WalkOutcome Run(FolderList& folders, bool recurse) {
        Walk(folders, recurse);
        return std::move(outcome_);
    }

  private:
    void Walk(FolderList& folders, bool recurse) {
        FolderList found;
        Attempt(outcome_, WalkStep::ExamineLevel, [&] { ExamineLevel(folders, found); });
        if (recurse && !found.empty() && !Stopped()) {
            Attempt(outcome_, WalkStep::WalkBelow, [&] { Walk(found, true); });
        }
        for (const std::string& deeper : found) {
            if (Stopped()) {
                return;
            }
            Attempt(outcome_, WalkStep::TakeFolder, [&] {
                if (!IsFolder(deeper) || !Yield()) {
                    return;
                }
                if (IsRoot(deeper) || !IsProtectedFolder(deeper)) {
                    folders.push_back(deeper);
                }
            });
        }
    }

    // False once the walk is to stop (the window is closing); it then stays stopped.
    bool Yield() {
        if (!Stopped() && yield_ && !yield_()) {
            outcome_.status = OutcomeStatus::Stopped;
        }
        return !Stopped();
    }
    bool Stopped() const { return outcome_.status == OutcomeStatus::Stopped; }

    // Reads the sub-folders of every folder of one level into `found`. Every failure here is
    // the folder's own: it costs that folder, never the walk.
    void ExamineLevel(FolderList& folders, FolderList& found) {
        std::size_t i = 0;
        while (i < folders.size() && !Stopped()) {
            const std::string folder = folders[i];
            bool keep = true;
            try {
                keep = Examine(folder, found);
            } catch (const AppError& e) {
                // Refused or vanished: the folder leaves the walk. Anything else leaves it in.
                keep = e.number() != errc::kPermissionDenied && e.number() != errc::kPathNotFound;
                outcome_.unread.push_back({folder, e.description()});
            } catch (...) {
                outcome_.unread.push_back({folder, DescribeFailure(std::current_exception())});
            }
            if (keep) {
                ++i;
            } else {
                // The entries after the removed one move up, so the next folder is at i.
                RemoveFirst(folders, folder);
            }
        }
    }

    // False when the folder is to leave the list.
    bool Examine(const std::string& folder, FolderList& found) {
        if (!IsFolder(folder) || CharacterCount(folder) >= kPathLimit) {
            return true;
        }
        const FolderIdentity identity = IdentityOf(folder);
        if (!Yield()) {
            return true;
        }
        if (!visited_.insert(identity).second) {
            return false;
        }
        if (!IsRoot(folder) && IsProtectedFolder(folder)) {
            return true;
        }
        for (const ListedEntry& entry : ListFolder(folder)) {
            if (!entry.isFolder) {
                continue;
            }
            if (!Yield()) {
                return true;
            }
            const std::string& name = entry.name;
            if (CharacterCount(name) >= kPathLimit || HasUnsafeChars(name) || name == "." ||
                name == "..") {
                continue;
            }
            found.push_back(folder + name + kSeparator);
        }
        return true;
    }

    YieldFunction yield_;
    WalkOutcome outcome_;
    std::set<FolderIdentity> visited_;
};

}  // namespace

WalkOutcome GetSubDirectories2016(FolderList& folders, bool recurse, YieldFunction yield) {
    return Walker(std::move(yield)).Run(folders, recurse);
}

}  // namespace quillane
