#pragma once
// The pointer styles of the main window and of its list, with the values the desktop gives
// them. The conversion run and the folder intake show the hourglass while they work.

namespace quillane {

enum class PointerStyle {
    // The ordinary pointer: each control shows its own (the text box its I-beam).
    Default = 0,
    // The standard arrow; the list shows it after a button release.
    Arrow = 1,
    // Busy: a long operation runs. Removing and clearing list entries are refused meanwhile.
    Hourglass = 11,
    // The custom image: the window's hand from "HAND-M.CUR", the list's "drag.ico".
    Custom = 99,
};

}  // namespace quillane
