#pragma once
// Pointer images read from the cursor and icon files beside the program.

#include <QCursor>
#include <memory>
#include <string>

namespace quillane {

// The pointer drawn by a cursor (.cur) or icon (.ico) file. A cursor file's own hot spot is
// kept; an icon points with its centre. Raises AppError 53 or 70 when the file cannot be
// read, 481 (invalid picture) when no image reader understands it.
std::unique_ptr<QCursor> LoadPointerImage(const std::string& path);

}  // namespace quillane
