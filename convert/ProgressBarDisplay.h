#pragma once
// ProgressDisplay over a QProgressBar: the logical value is kept here and shown clamped to the
// bar's range, so a value past its maximum never fails; the text is shown verbatim.

#include <QPointer>
#include <QProgressBar>

#include "convert/ProgressDisplay.h"

namespace quillane {

class ProgressBarDisplay : public ProgressDisplay {
  public:
    explicit ProgressBarDisplay(QProgressBar& bar);

    double Value() const override { return value_; }
    void SetValue(double value) override;
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override;

  private:
    QPointer<QProgressBar> bar_;
    double value_;
    std::string text_;
};

}  // namespace quillane
