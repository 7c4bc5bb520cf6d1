#pragma once
// The files the folder intake and a dropped folder take from a walked folder list.

#include <functional>
#include <string>

#include "filelist/FolderWalk.h"
#include "util/Outcome.h"

namespace quillane {

// True for a found file the intake takes: it opens as a file and is not exactly hidden +
// archive. Names beginning with "~" (office lock and backup files) are refused by the caller.
bool IsListableFile(const std::string& path);

// The pieces of the listing a failure can cost; the listing goes on with the next one.
enum class ListingStep {
    // Listing the files of one folder.
    ListFolder,
    // Taking one listed file (`append` failing included).
    TakeFile,
};

// For each folder of `folders` in order, each file GetFolderFiles finds there with `pattern`,
// in listing order, except names beginning with "~" and files IsListableFile refuses: hands
// the normalised path to `append`. A failure costs one folder's listing or one file and is
// handed back; the listing goes on.
//
// `yield` runs before each folder and after every kFilesPerYield files handed over, so a list
// of a hundred thousand files keeps the window live; when it answers false the listing stops
// there (Stopped), with the files handed over so far in the list.
Outcome<ListingStep> ListWalkedFiles(const FolderList& folders, const std::string& pattern,
                                     const std::function<void(const std::string&)>& append,
                                     const YieldFunction& yield = {});

inline constexpr int kFilesPerYield = 100;

}  // namespace quillane
