#pragma once
// The folder walk of the folder intake and of dropped folders: a list of folders extended with
// every folder below them, level by level.

#include <string>
#include <vector>

#include "util/Outcome.h"

namespace quillane {

// Folder paths, each ending with the separator, in walk order.
using FolderList = std::vector<std::string>;

// A folder the walk could not examine, and why.
struct UnreadFolder {
    std::string folder;
    std::string description;
};

// The pieces of the walk a failure can cost; the walk goes on with the next one.
enum class WalkStep {
    // Reading the sub-folders of one level's folders.
    ExamineLevel,
    // Walking the level found below them.
    WalkBelow,
    // Taking one found folder into the list.
    TakeFolder,
};

// Stopped when a yield answered that the window is closing; the list is then incomplete. The
// failures are the walk's own, for the caller to report under the walk's location text.
struct WalkOutcome : Outcome<WalkStep> {
    // Folders whose examination failed. The walk goes on without a word about them, as the
    // desktop's walk does: refused or vanished ones have left the list, the others stay.
    std::vector<UnreadFolder> unread;
};

// Extends `folders` in place with all folders below them, breadth first: every folder of one
// level in its parents' order, each parent's sub-folders in listing order. With `recurse` off
// only the next level is added.
//
// A folder is not descended into when its path is 260 characters or longer, when it is a
// protected system folder (attributes exactly 22 or 1046), or when it cannot be read; a
// sub-folder is skipped when its name is 260 characters or longer or HasUnsafeChars. A folder
// that cannot be read for want of permission, or has vanished, is dropped from the list; any
// other failure to read a folder leaves it in the list. A folder met again (same device and
// inode, as through a symbolic link loop) is dropped too, so every walk ends and no folder is
// listed twice.
//
// `yield` runs once per folder examined, per sub-folder read and per folder handed back, so
// the window stays live; when it answers false the walk stops there.
WalkOutcome GetSubDirectories2016(FolderList& folders, bool recurse, YieldFunction yield);

}  // namespace quillane
