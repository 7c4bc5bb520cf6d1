#include "filelist/WalkedFiles.h"

#include "filelist/FileAttributes.h"
#include "filelist/FileProbe.h"
#include "filelist/FolderFiles.h"
#include "util/PathHelpers.h"

namespace quillane {

bool QuietStep(int, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (...) {
        return false;
    }
}

bool IsListableFile(const std::string& path) {
    return IsExistingFile(path) && FileAttributes(path) != attr::kHiddenArchive;
}

void ListWalkedFiles(const FolderList& folders, const std::string& pattern, const StepRunner& step,
                     const std::function<void(const std::string&)>& append) {
    for (const std::string& walked : folders) {
        std::string folder = walked;
        FileNameArray names;
        step(120, [&] {
            if (!folder.empty()) {
                folder.pop_back();
            }
        });
        step(122, [&] { names = GetFolderFiles(folder, pattern); });
        for (int i = 1; i <= names.UpperBound(); ++i) {
            step(132, [&] {
                const std::string& name = names[i];
                if (name.front() == '~') {
                    return;
                }
                const std::string path = folder + kSeparator + name;
                if (IsListableFile(path)) {
                    append(NormalizePath(path));
                }
            });
        }
    }
}

}  // namespace quillane
