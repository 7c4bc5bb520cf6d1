#pragma once
// The converter and its library are written out for the length of one run into a folder of
// the run's own: fresh, inside the temporary folder, open to its owner only. Nothing that
// another user planted in a shared temporary folder is ever run or overwritten.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillane {

inline constexpr const char* kConverterFileName = "ZOD2UVOV.exe";
inline constexpr const char* kLibraryFileName = "Tessaly.Docs.dll";
inline constexpr const char* kStagedFileName = "temp.rtf";

// Resource ids of the two payloads.
inline constexpr int kConverterPayload = 101;
inline constexpr int kLibraryPayload = 102;

// A new, empty folder inside `parent` (normally TempFolder()), mode 0700. Raises AppError.
std::string CreatePrivateFolder(const std::string& parent);

// Where a run may put its private folder, in order: the temporary folder, then the user's
// runtime folder ($XDG_RUNTIME_DIR), then the user's cache folder ($XDG_CACHE_HOME, else
// ~/.cache). A temporary folder mounted noexec or closed to writing is common on hardened
// systems; the other two are the user's own.
std::vector<std::string> RunFolderCandidates();

// Runs the converter deployed in `folder` once without a document; empty when it answered as
// it should, else the reason it did not ("the converter could not be started there (error 70)").
using ConverterProbe =
    std::function<std::string(const std::string& converter, const std::string& folder)>;

struct Deployed {
    // The run's private folder holding both payloads; empty when no candidate took them.
    std::string runFolder;
    // One sentence for every candidate passed over, naming it and why.
    std::vector<std::string> passedOver;
};

// Makes a private folder in the first candidate where the converter and its library can be
// written and the converter runs, and deploys both there. What is written into a candidate
// that fails is removed again.
Deployed DeployConverter(const std::vector<std::string>& candidates, std::string_view converter,
                         std::string_view library, const ConverterProbe& probe,
                         const std::function<void()>& yield = {});

// Writes `bytes` as a new file at `path` with `mode` (the converter needs its execute bits).
// An existing file (or link) at the path is never replaced: the call returns without writing.
// Raises AppError when the file cannot be created or written; no partial file remains.
// `yield` lets the window repaint first.
void WriteBytesToFile(std::string_view bytes, const std::string& path, unsigned mode = 0600,
                      const std::function<void()>& yield = {});

// Removes the file; every failure is ignored. Read-only files go too (on POSIX the folder's
// rights decide, and the run's folder is ours).
void DeleteFileQuietly(const std::string& path, const std::function<void()>& yield = {});

// Removes an empty folder; every failure is ignored.
void RemoveFolderQuietly(const std::string& path);

}  // namespace quillane
