#pragma once
// Texts as the desktop's dialogs want them.

#include <string>
#include <vector>

namespace quillane {

// A message text with its line ends (CR LF, lone CR, lone LF) as "\n": a CR is a line break.
std::string DisplayText(const std::string& text);

// The Open dialog's filter ("Text Files (*.txt)|*.txt|All Files (*.*)|*.*") as the file
// dialog's name filters ("Text Files (*.txt)", "All Files (*)"). "*.*" means every file, also
// one without a dot, so it becomes "*".
std::vector<std::string> NameFilters(const std::string& filter);

// A picked folder as callers expect it: no trailing "/" except for the root.
std::string WithoutTrailingSeparator(const std::string& folder);

}  // namespace quillane
