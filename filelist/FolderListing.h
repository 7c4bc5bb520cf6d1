#pragma once
// One folder's directory listing, in the order the intake works through it: case-insensitive
// ordinal order of the names, as a Windows file system hands them out, never hash order.

#include <string>
#include <vector>

namespace quillane {

struct ListedEntry {
    std::string name;
    bool isFolder = false;  // a folder, or a symbolic link to one
};

// Every entry of `folder` except "." and "..". Raises AppError 70 (permission denied) or 76
// (path not found, also for a folder that vanished) when the folder cannot be read, and
// another numbered AppError for any other failure.
std::vector<ListedEntry> ListFolder(const std::string& folder);

// Sorts names as the listing does: letter case ignored, ties broken by the exact bytes.
void SortListingOrder(std::vector<ListedEntry>& entries);

}  // namespace quillane
