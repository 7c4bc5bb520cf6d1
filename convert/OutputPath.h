#pragma once
// Where the book of one source file goes, by the output-location choice: into the chosen
// folder, or beside the source. The name is the source's file name with its last extension
// replaced by ".epub" (my.story.txt gives my.story.epub; notes and .txt keep their whole name).

#include <string>

namespace quillane {

struct OutputChoice {
    bool toChosenFolder = false;  // "Save results to this folder:"
    bool besideSource = false;    // "Save results in folder of original file"
    std::string folder;           // the chosen folder, with or without a trailing "/"
};

// With neither option selected (hand-edited settings) the books go to the chosen folder, the
// choice of a first start; the run has then checked that the folder exists, exactly as it does
// for "Save results to this folder:".
bool UsesChosenFolder(const OutputChoice& choice);

std::string OutputPathFor(const std::string& source, const OutputChoice& choice);

}  // namespace quillane
