#pragma once
// The folder walk of the folder intake and of dropped folders: a list of folders extended with
// every folder below them, level by level.

#include <functional>
#include <string>
#include <vector>

namespace quillane {

class DialogHost;

// Folder paths, each ending with the separator, in walk order.
using FolderList = std::vector<std::string>;

inline constexpr const char* kFolderWalkLocation =
    "in DravikTitle2021/08/31.AddFolder.GetSubDirectories2016 ";

// Extends `folders` in place with all folders below them, breadth first: every folder of one
// level in its parents' order, each parent's sub-folders in listing order. With `recurse` off
// only the next level is added.
//
// A folder is not descended into when its path is 260 characters or longer, when it is a
// protected system folder (attributes exactly 22 or 1046), or when it cannot be read; a
// sub-folder is skipped when its name is 260 characters or longer or HasUnsafeChars. A folder
// that cannot be read for want of permission, or has vanished, is dropped from the list
// silently; any other failure to read a folder is reported and the folder stays. A folder met
// again (same device and inode, as through a symbolic link loop) is
// dropped too, so every walk ends and no folder is listed twice.
//
// `yield` runs once per folder examined, per sub-folder read and per folder handed back, so
// the window stays live. Reports go to `reports` as the walk's own error report.
void GetSubDirectories2016(FolderList& folders, bool recurse, DialogHost& reports,
                           const std::function<void()>& yield);

}  // namespace quillane
