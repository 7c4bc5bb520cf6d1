#pragma once
// The converter and its library are written out for the length of one run into a folder of
// the run's own: fresh, inside the temporary folder, open to its owner only. Nothing that
// another user planted in a shared temporary folder is ever run or overwritten.

#include <functional>
#include <string>
#include <string_view>

namespace quillane {

inline constexpr const char* kConverterFileName = "ZOD2UVOV.exe";
inline constexpr const char* kLibraryFileName = "Tessaly.Docs.dll";
inline constexpr const char* kStagedFileName = "temp.rtf";

// Resource ids of the two payloads.
inline constexpr int kConverterPayload = 101;
inline constexpr int kLibraryPayload = 102;

// A new, empty folder inside `parent` (normally TempFolder()), mode 0700. Raises AppError.
std::string CreatePrivateFolder(const std::string& parent);

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
