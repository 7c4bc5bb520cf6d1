#include "filelist/WalkedFiles.h"

#include "filelist/FileAttributes.h"
#include "filelist/FileProbe.h"
#include "filelist/FolderFiles.h"
#include "util/PathHelpers.h"

namespace quillane {

bool IsListableFile(const std::string& path) {
    return IsExistingFile(path) && FileAttributes(path) != attr::kHiddenArchive;
}

Outcome<ListingStep> ListWalkedFiles(const FolderList& folders, const std::string& pattern,
                                     const std::function<void(const std::string&)>& append,
                                     const YieldFunction& yield) {
    Outcome<ListingStep> outcome;
    int sinceYield = 0;
    const auto goOn = [&] {
        sinceYield = 0;
        if (yield && !yield()) {
            outcome.status = OutcomeStatus::Stopped;
        }
        return !outcome.Stopped();
    };
    for (const std::string& walked : folders) {
        if (!goOn()) {
            return outcome;
        }
        // The walk's folders end with the separator; the listing takes the folder without it.
        const std::string folder = walked.empty() || walked.back() != kSeparator
                                       ? walked
                                       : walked.substr(0, walked.size() - 1);
        std::vector<std::string> names;
        Attempt(outcome, ListingStep::ListFolder, [&] { names = GetFolderFiles(folder, pattern); });
        for (const std::string& name : names) {
            Attempt(outcome, ListingStep::TakeFile, [&] {
                if (name.front() == '~') {
                    return;
                }
                const std::string path = folder + kSeparator + name;
                if (IsListableFile(path)) {
                    append(NormalizePath(path));
                    ++sinceYield;
                }
            });
            if (sinceYield >= kFilesPerYield && !goOn()) {
                return outcome;
            }
        }
    }
    return outcome;
}

}  // namespace quillane
