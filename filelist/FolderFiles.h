#pragma once
// The names of the files in one folder that match a wildcard pattern.

#include <string>
#include <vector>

namespace quillane {

// Names only, at positions 1 to UpperBound(). When no file matched, the array holds a single
// empty entry at position 0, so a loop over 1 to UpperBound() does nothing.
class FileNameArray {
  public:
    FileNameArray() : names_(1) {}

    int UpperBound() const { return static_cast<int>(names_.size()) - 1; }
    const std::string& operator[](int position) const { return names_.at(position); }
    void Append(std::string name) { names_.push_back(std::move(name)); }

  private:
    std::vector<std::string> names_;  // [0] is the empty entry
};

// The files of `folder` (with or without a trailing separator) whose names match `pattern`,
// hidden ones included, folders not, each passing IsExistingFile, in listing order. A folder
// that cannot be read gives no names. Never throws for the folder's state.
FileNameArray GetFolderFiles(const std::string& folder, const std::string& pattern);

}  // namespace quillane
