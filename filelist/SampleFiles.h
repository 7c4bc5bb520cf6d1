#pragma once
// The example files that come with the program: the remembered list of their paths.

#include <string>
#include <vector>

namespace quillane {

// The samples folder of a program folder: programFolder + "/Samples".
std::string SamplesFolder(const std::string& programFolder);

// The full paths of the files in the samples folder (every file, hidden ones included, in
// listing order) joined by "|", with no "|" after the last; empty when there is none. A path
// that holds a "|" itself is left out, since it could not be told apart again.
std::string SampleListText(const std::string& programFolder);

// The paths of a remembered list: the text split at every "|"; an empty text gives none.
std::vector<std::string> SampleListPaths(const std::string& text);

}  // namespace quillane
