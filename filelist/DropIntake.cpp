#include "filelist/DropIntake.h"

#include "filelist/FileAttributes.h"
#include "filelist/FolderWalk.h"
#include "filelist/WalkedFiles.h"
#include "util/PathHelpers.h"

namespace quillane {

bool IsDroppedFolder(const std::string& path) {
    const auto bits = FileAttributes(path);
    return bits && (*bits & attr::kDirectory) != 0;
}

Outcome<WalkStep> TakeDrop(const std::vector<std::string>& dropped, const YieldFunction& yield,
                           const std::function<void(const std::string&)>& append) {
    Outcome<WalkStep> outcome;
    for (const std::string& path : dropped) {
        if (!IsDroppedFolder(path)) {
            append(path);
            continue;
        }
        FolderList folders{path + kSeparator};
        WalkOutcome walk = GetSubDirectories2016(folders, true, yield);
        outcome.failures.insert(outcome.failures.end(), walk.failures.begin(), walk.failures.end());
        if (walk.Stopped()) {
            outcome.status = OutcomeStatus::Stopped;
            return outcome;
        }
        // A failure with one file costs only that file, untold; a stop ends the drop.
        if (ListWalkedFiles(folders, "*.*", append, yield).Stopped()) {
            outcome.status = OutcomeStatus::Stopped;
            return outcome;
        }
    }
    return outcome;
}

}  // namespace quillane
