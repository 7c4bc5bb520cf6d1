#pragma once
// The result string of the Open dialog taken apart.

#include <string>
#include <vector>

namespace quillane {

// The parts of a result between NUL characters: one part is a full path; several are the
// folder followed by the picked names. An empty result gives one empty part.
std::vector<std::string> SplitOpenResult(const std::string& result);

// A picked name's full path: the folder part, a separator and the name, normalised (so a
// folder part that is the root gives "/a.txt", not "//a.txt").
std::string JoinPicked(const std::string& folder, const std::string& name);

}  // namespace quillane
