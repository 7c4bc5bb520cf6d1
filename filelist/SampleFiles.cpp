#include "filelist/SampleFiles.h"

#include "filelist/FolderFiles.h"
#include "util/PathHelpers.h"

namespace quillane {

std::string SamplesFolder(const std::string& programFolder) {
    return programFolder + kSeparator + "Samples";
}

std::string SampleListText(const std::string& programFolder) {
    const std::string folder = SamplesFolder(programFolder);
    std::string text;
    for (const std::string& name : GetFolderFiles(folder, "*.*")) {
        const std::string path = folder + kSeparator + name;
        // "|" separates the remembered paths, so a path holding one would come back split.
        if (path.find('|') == std::string::npos) {
            text += path + "|";
        }
    }
    if (!text.empty()) {
        text.pop_back();
    }
    return text;
}

std::vector<std::string> SampleListPaths(const std::string& text) {
    std::vector<std::string> paths;
    if (text.empty()) {
        return paths;
    }
    std::size_t start = 0;
    for (;;) {
        const auto bar = text.find('|', start);
        paths.push_back(text.substr(start, bar - start));
        if (bar == std::string::npos) {
            return paths;
        }
        start = bar + 1;
    }
}

}  // namespace quillane
