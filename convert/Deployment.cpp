#include "convert/Deployment.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "fileio/File.h"
#include "util/AppError.h"
#include "util/ErrorReport.h"
#include "util/FileBytes.h"
#include "util/PathHelpers.h"

namespace quillane {

std::string CreatePrivateFolder(const std::string& parent) {
    std::string pattern = NormalizePath(parent + kSeparator + "quillane-run-XXXXXX");
    // mkdtemp creates the folder with mode 0700 and a name nobody could have predicted.
    if (::mkdtemp(pattern.data()) == nullptr) {
        RaiseFromErrno(errno);
    }
    return pattern;
}

void WriteBytesToFile(std::string_view bytes, const std::string& path, unsigned mode,
                      const std::function<void()>& yield) {
    if (yield) {
        yield();
    }
    // A file or link already at the path is neither replaced nor written through.
    const fileio::FileStatus status = fileio::WriteNewFile(path, bytes, mode);
    if (!status.ok() && status.error() != EEXIST) {
        RaiseFileStatus(status);
    }
}

std::vector<std::string> RunFolderCandidates() {
    std::vector<std::string> folders = {TempFolder()};
    const auto add = [&](const std::string& folder) {
        if (!folder.empty() && folder[0] == kSeparator &&
            std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    };
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    add(runtime != nullptr ? runtime : "");
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (cache != nullptr && cache[0] == kSeparator) {
        add(cache);
    } else if (home != nullptr && home[0] == kSeparator) {
        add(NormalizePath(std::string(home) + "/.cache"));
    }
    return folders;
}

namespace {

// Why the converter cannot run from `candidate`, or empty when it was deployed into
// `runFolder` inside it and answered.
std::string TryCandidate(const std::string& candidate, std::string_view converter,
                         std::string_view library, const ConverterProbe& probe,
                         const std::function<void()>& yield, std::string& runFolder) {
    // The cache folder may not exist yet; it is the user's own, so it is made private.
    if (candidate != TempFolder()) {
        ::mkdir(candidate.c_str(), 0700);
    }
    try {
        runFolder = CreatePrivateFolder(candidate);
    } catch (...) {
        return "no folder can be made in it (" + DescribeFailure(std::current_exception()) + ")";
    }
    std::string reason;
    struct statvfs volume {};
    if (::statvfs(runFolder.c_str(), &volume) == 0 && (volume.f_flag & ST_NOEXEC) != 0) {
        reason = "it is mounted noexec, so no program may run from it";
    }
    const std::string tool = runFolder + kSeparator + kConverterFileName;
    const std::string lib = runFolder + kSeparator + kLibraryFileName;
    if (reason.empty()) {
        try {
            WriteBytesToFile(converter, tool, 0700, yield);
            WriteBytesToFile(library, lib, 0600, yield);
        } catch (...) {
            reason = "the converter cannot be written there (" +
                     DescribeFailure(std::current_exception()) + ")";
        }
    }
    if (reason.empty() && probe) {
        reason = probe(tool, runFolder);
    }
    if (!reason.empty()) {
        DeleteFileQuietly(tool);
        DeleteFileQuietly(lib);
        RemoveFolderQuietly(runFolder);
        runFolder.clear();
    }
    return reason;
}

}  // namespace

Deployed DeployConverter(const std::vector<std::string>& candidates, std::string_view converter,
                         std::string_view library, const ConverterProbe& probe,
                         const std::function<void()>& yield) {
    Deployed deployed;
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        const std::string reason =
            TryCandidate(candidates[k], converter, library, probe, yield, deployed.runFolder);
        if (reason.empty()) {
            return deployed;
        }
        deployed.passedOver.push_back((k == 0 ? "The temporary folder \"" : "The folder \"") +
                                      candidates[k] + "\" cannot be used: " + reason + ".");
    }
    return deployed;
}

void DeleteFileQuietly(const std::string& path, const std::function<void()>& yield) {
    if (yield) {
        yield();
    }
    if (!path.empty()) {
        ::unlink(path.c_str());
    }
}

void RemoveFolderQuietly(const std::string& path) {
    if (!path.empty()) {
        ::rmdir(path.c_str());
    }
}

}  // namespace quillane
