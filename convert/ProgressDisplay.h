#pragma once
// The progress bar as the run and the wait see it: a logical value on a 0..100 scale that may
// run past 100 during the last file, and a text.

#include <string>

namespace quillane {

class ProgressDisplay {
  public:
    virtual ~ProgressDisplay() = default;
    virtual double Value() const = 0;
    virtual void SetValue(double value) = 0;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
};

}  // namespace quillane
