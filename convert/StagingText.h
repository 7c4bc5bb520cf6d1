#pragma once
// The hidden staging control: holds a source file's plain text and writes it as the RTF
// document the converter reads. Appending is amortised constant time per character, so
// staging a file costs time linear in its size however many chunks it arrives in.

#include <optional>
#include <string>
#include <string_view>

namespace quillane {

class StagingText {
  public:
    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }
    void Clear() {
        text_.clear();
        markdownSource_.reset();
    }
    void Append(std::string_view chunk) { text_.append(chunk); }
    // The file the text was read from. A Markdown-named source (text/MarkdownName.h) is saved
    // with its text verbatim and its path (text/StagingMarkdown.h), so its formatting reaches
    // the book; Clear() forgets it.
    void SetSourcePath(const std::string& path);

    // Writes the text as RTF at `path`, with `title` (the source's file name) as the document
    // title. Raises AppError when the file cannot be created or written; a partly written file
    // is removed.
    void SaveFile(const std::string& path, const std::string& title) const;

  private:
    std::string text_;
    std::optional<std::string> markdownSource_;
};

}  // namespace quillane
