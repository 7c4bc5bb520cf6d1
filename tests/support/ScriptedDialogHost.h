#pragma once
// A DialogHost that answers from a script and records every question, for tests.

#include <deque>
#include <string>
#include <vector>

#include "util/DialogHost.h"

namespace quillane::test {

struct ShownMessage {
    std::string text;
    MessageButtons buttons;
    MessageIcon icon;
    std::string title;
};

class ScriptedDialogHost : public DialogHost {
  public:
    // Answers, taken in order; when a queue is empty the answer is Ok / Yes for message boxes
    // and "" (cancel) for the others.
    std::deque<MessageResult> messageAnswers;
    std::deque<std::string> inputAnswers;
    // The files picked in an Open dialog, none for cancel. A selection that does not fit the
    // request's buffer raises error 20476, as the dialog does.
    std::deque<std::vector<std::string>> openAnswers;
    std::deque<std::string> folderAnswers;

    // What was asked.
    std::vector<ShownMessage> messages;
    struct InputAsked {
        std::string prompt, title, defaultAnswer;
    };
    std::vector<InputAsked> inputs;
    std::vector<OpenDialogRequest> openRequests;
    struct FolderAsked {
        std::string prompt, startFolder;
    };
    std::vector<FolderAsked> folderRequests;
    std::vector<std::string> openedUrls;
    std::vector<std::string> openedFolders;

    MessageResult MessageBox(const std::string& text, MessageButtons buttons, MessageIcon icon,
                             const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;
    std::vector<std::string> ShowOpen(const OpenDialogRequest& request) override;
    std::string BrowseForFolder(const std::string& prompt, const std::string& startFolder) override;
    void OpenUrl(const std::string& url) override { openedUrls.push_back(url); }
    void OpenFolder(const std::string& path) override { openedFolders.push_back(path); }

    // The texts of the message boxes titled "Application Error".
    std::vector<std::string> ErrorReports() const;
};

}  // namespace quillane::test
