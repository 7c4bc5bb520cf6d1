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
#include "util/ErrorReport.h"
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
    Walker(DialogHost& reports, const std::function<void()>& yield)
        : scope_(reports, kFolderWalkLocation), yield_(yield) {}

    void Walk(FolderList& folders, bool recurse) {
        FolderList found;
        scope_.Step(106, [&] { ExamineLevel(folders, found); });
        if (scope_.If(150, [&] { return recurse && !found.empty(); })) {
            scope_.Step(150, [&] { Walk(found, true); });
        }
        for (const std::string& deeper : found) {
            scope_.Step(152, [&] {
                if (!IsFolder(deeper)) {
                    return;
                }
                Yield();
                if (IsRoot(deeper) || !IsProtectedFolder(deeper)) {
                    folders.push_back(deeper);
                }
            });
        }
    }

  private:
    void ReportAt(int step, std::exception_ptr failure) {
        scope_.Step(step, [&] { std::rethrow_exception(failure); });
    }

    void Yield() {
        if (yield_) {
            yield_();
        }
    }

    // Reads the sub-folders of every folder of one level into `found`. Every failure here is
    // the folder's own: it costs that folder, never the walk.
    void ExamineLevel(FolderList& folders, FolderList& found) {
        std::size_t i = 0;
        while (i < folders.size()) {
            const std::string folder = folders[i];
            bool keep = true;
            try {
                keep = Examine(folder, found);
            } catch (const AppError& e) {
                // Refused or vanished: the folder leaves the walk without a word. Anything
                // else is told, and the folder stays.
                keep = e.number() != errc::kPermissionDenied && e.number() != errc::kPathNotFound;
                if (keep) {
                    ReportAt(118, std::current_exception());
                }
            } catch (...) {
                ReportAt(118, std::current_exception());
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
        Yield();
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
            Yield();
            const std::string& name = entry.name;
            if (CharacterCount(name) >= kPathLimit || HasUnsafeChars(name) || name == "." ||
                name == "..") {
                continue;
            }
            found.push_back(folder + name + kSeparator);
        }
        return true;
    }

    StepScope scope_;
    const std::function<void()>& yield_;
    std::set<FolderIdentity> visited_;
};

}  // namespace

void GetSubDirectories2016(FolderList& folders, bool recurse, DialogHost& reports,
                           const std::function<void()>& yield) {
    Walker walker(reports, yield);
    walker.Walk(folders, recurse);
}

}  // namespace quillane
