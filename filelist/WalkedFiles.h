#pragma once
// The files the folder intake and a dropped folder take from a walked folder list.

#include <functional>
#include <string>

#include "filelist/FolderWalk.h"

namespace quillane {

// Runs one numbered step; false when it failed (the caller's error convention applies).
using StepRunner = std::function<bool(int step, const std::function<void()>& body)>;

// A StepRunner that skips a failing step without a word.
bool QuietStep(int step, const std::function<void()>& body);

// True for a found file the intake takes: it opens as a file and is not exactly hidden +
// archive. Names beginning with "~" (office lock and backup files) are refused by the caller.
bool IsListableFile(const std::string& path);

// For each folder of `folders` in order, each file GetFolderFiles finds there with `pattern`,
// in listing order, except names beginning with "~" and files IsListableFile refuses: hands
// the normalised path to `append`. Each folder's listing and each file are steps of their own
// (122 and 132), so a failure costs one folder or one file.
void ListWalkedFiles(const FolderList& folders, const std::string& pattern, const StepRunner& step,
                     const std::function<void(const std::string&)>& append);

}  // namespace quillane
