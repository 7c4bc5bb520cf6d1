#include "convert/OutputPath.h"

#include "util/PathHelpers.h"

namespace quillane {

bool UsesChosenFolder(const OutputChoice& choice) {
    return choice.toChosenFolder || !choice.besideSource;
}

std::string OutputPathFor(const std::string& source, const OutputChoice& choice) {
    const std::string bookName = StripExtension(FileNameOf(source)) + ".epub";
    const std::string folder = UsesChosenFolder(choice) ? choice.folder : FolderOf(source);
    return NormalizePath(folder + kSeparator + bookName);
}

}  // namespace quillane
