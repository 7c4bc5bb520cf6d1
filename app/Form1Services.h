#pragma once
// What the main window needs from outside itself, so tests can replace each piece.

#include <functional>
#include <string>

namespace quillane {

class DialogHost;

struct Form1Services {
    // Message boxes, input box, Open dialog, folder picker, opening folders and web pages.
    DialogHost* dialogs = nullptr;
    // A random fraction in [0, 1), for the home-page visit. Empty: seeded from the time of day.
    std::function<double()> randomFraction;
    // The folder that holds the program and the files it looks for beside itself
    // ("x/o.cjs", "HAND-M.CUR", "drag.ico", "Samples"). Empty: the running program's folder.
    std::string programFolder;
    // The bytes of payload 101 (the converter) or 102 (its library). Empty: the payloads built
    // into the program.
    std::function<std::string(int id)> payload;
};

}  // namespace quillane
