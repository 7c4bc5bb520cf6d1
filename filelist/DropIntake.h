#pragma once
// What a drop of files and folders on the list contributes to it.

#include <functional>
#include <string>
#include <vector>

#include "filelist/FolderWalk.h"
#include "util/Outcome.h"

namespace quillane {

// True when a dropped path is a folder: something is there and it carries the directory bit.
bool IsDroppedFolder(const std::string& path);

// Hands every path the drop contributes to `append`, in drop order: a file as delivered, a
// folder as all its files and those of every folder below it ("*.*", the same rules as the
// folder intake). Each dropped folder is walked on its own. A failure with one file costs only
// that file and is not told, as the drop shows no message of its own; the failures handed back
// are the walk's own, for the caller to report with the walk's location text. Stops at a
// yield that answers false.
Outcome<WalkStep> TakeDrop(const std::vector<std::string>& dropped, const YieldFunction& yield,
                           const std::function<void(const std::string&)>& append);

}  // namespace quillane
