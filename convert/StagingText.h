#pragma once
// The hidden staging control: holds a source file's plain text and writes it as the RTF
// document the converter reads.

#include <string>

namespace quillane {

class StagingText {
public:
    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }

private:
    std::string text_;
};

}  // namespace quillane
