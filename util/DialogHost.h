#pragma once
// Everything modal or outward that the window asks of the desktop goes through this one
// interface: message boxes, the input box, the Open dialog, the folder picker and opening a
// folder or a web address. The window uses the Qt implementation; tests give a scripted one.

#include <string>
#include <utility>
#include <vector>

namespace quillane {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Exclamation };
enum class MessageResult { Ok, Yes, No };

// What the "Add Text File(s)" handler sets on the common dialog before showing it.
struct OpenDialogRequest {
    std::string title;
    // Pairs of description and pattern, as "Text Files (*.txt)|*.txt|All Files (*.*)|*.*".
    std::string filter;
    bool multiSelect = true;
    // The file-name buffer: a result longer than this raises error 20476.
    std::size_t maxFileSize = 30000;
};

class DialogHost {
  public:
    virtual ~DialogHost() = default;

    // A modal message box. An empty title means the application title. A CR in the text is a
    // line break.
    virtual MessageResult MessageBox(const std::string& text, MessageButtons buttons,
                                     MessageIcon icon, const std::string& title) = 0;

    // A modal input box; returns "" when the user cancels (as an empty answer does).
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultAnswer) = 0;

    // The Open dialog. Returns the full paths of the picked files in the dialog's order, none
    // when the user cancels. Raises AppError 20476 when they do not fit into the dialog's
    // buffer of request.maxFileSize characters (CheckOpenBuffer).
    virtual std::vector<std::string> ShowOpen(const OpenDialogRequest& request) = 0;

    // The folder picker: the picked folder (no trailing "/" except for the root), or "" when
    // cancelled.
    virtual std::string BrowseForFolder(const std::string& prompt,
                                        const std::string& startFolder) = 0;

    // Opens a web address in the browser, or a folder in the file manager. Failures are
    // ignored.
    virtual void OpenUrl(const std::string& url) = 0;
    virtual void OpenFolder(const std::string& path) = 0;

    // The application title that every dialog without a title of its own shows. It is our
    // own value: the toolkit's display name would be appended to every window's title.
    void SetApplicationTitle(std::string title) { applicationTitle_ = std::move(title); }
    const std::string& ApplicationTitle() const { return applicationTitle_; }

  private:
    std::string applicationTitle_;
};

}  // namespace quillane
