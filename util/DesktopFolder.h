#pragma once
// The user's desktop folder, where the results go until the user picks another folder.

#include <string>

namespace quillane {

// The desktop folder followed by one "/": the desktop location when that folder exists, else
// the home folder (many accounts have no desktop folder).
std::string DesktopFolder();

}  // namespace quillane
