#pragma once
// The program's own icon, compiled into the program.

#include <QIcon>

namespace quillane {

// The icon at 32, 48, 128 and 256 pixels.
QIcon ProgramIcon();

}  // namespace quillane
