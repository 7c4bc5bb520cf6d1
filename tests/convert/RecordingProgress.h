#pragma once
// A progress display for tests that remembers every value and text it was given.

#include <string>
#include <vector>

#include "convert/ProgressDisplay.h"

namespace quillane::test {

class RecordingProgress : public ProgressDisplay {
  public:
    double Value() const override { return value; }
    void SetValue(double v) override {
        value = v;
        values.push_back(v);
    }
    std::string Text() const override { return text; }
    void SetText(const std::string& t) override {
        text = t;
        texts.push_back(t);
    }

    double value = 0;
    std::string text = "Progress Bar";
    std::vector<double> values;
    std::vector<std::string> texts;
};

}  // namespace quillane::test
