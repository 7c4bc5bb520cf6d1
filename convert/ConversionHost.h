#pragma once
// What a conversion run needs from the window around it: the list, the output options, the
// progress bar, the busy pointer, a way to let the window repaint, the dialogs its messages go
// to, the staging control and the payloads it deploys. Its failures it hands back to the
// window's handler, which reports them.

#include <string>

#include "convert/OutputPath.h"
#include "util/PointerStyle.h"

namespace quillane {

class DialogHost;
class ProgressDisplay;
class StagingText;

class ConversionHost {
  public:
    virtual ~ConversionHost() = default;

    virtual int EntryCount() = 0;
    // Entry `index`, 1-based.
    virtual std::string EntryText(int index) = 0;
    // Read for every file: the options may change while the run yields.
    virtual OutputChoice OutputOptions() = 0;
    virtual ProgressDisplay& Progress() = 0;
    virtual void SetMousePointer(PointerStyle style) = 0;
    // Lets pending window events run.
    virtual void Yield() = 0;
    virtual DialogHost& Dialogs() = 0;
    virtual StagingText& Staging() = 0;
    // The bytes of payload 101 (the converter) or 102 (its library).
    virtual std::string Payload(int id) = 0;

    // --- stop hook: true once the window is closing. The run then stops at its next yield,
    // stops a running converter and removes its folder, and shows nothing more.
    virtual bool StopRequested() { return false; }
};

}  // namespace quillane
