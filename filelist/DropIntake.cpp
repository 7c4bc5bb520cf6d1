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

void TakeDrop(const std::vector<std::string>& dropped, DialogHost& reports,
              const std::function<void()>& yield,
              const std::function<void(const std::string&)>& append) {
    for (const std::string& path : dropped) {
        if (!IsDroppedFolder(path)) {
            append(path);
            continue;
        }
        FolderList folders{path + kSeparator};
        GetSubDirectories2016(folders, true, reports, yield);
        ListWalkedFiles(folders, "*.*", QuietStep, append);
    }
}

}  // namespace quillane
