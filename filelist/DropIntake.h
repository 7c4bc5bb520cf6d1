#pragma once
// What a drop of files and folders on the list contributes to it.

#include <functional>
#include <string>
#include <vector>

namespace quillane {

class DialogHost;

// True when a dropped path is a folder: something is there and it carries the directory bit.
bool IsDroppedFolder(const std::string& path);

// Hands every path the drop contributes to `append`, in drop order: a file as delivered, a
// folder as all its files and those of every folder below it ("*.*", the same rules as the
// folder intake). Each dropped folder is walked on its own. The walk's failures outside a
// folder's examination go to `reports`; a failure with one file costs only that file.
void TakeDrop(const std::vector<std::string>& dropped, DialogHost& reports,
              const std::function<void()>& yield,
              const std::function<void(const std::string&)>& append);

}  // namespace quillane
