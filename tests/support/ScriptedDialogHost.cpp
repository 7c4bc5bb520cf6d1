#include "tests/support/ScriptedDialogHost.h"

#include "util/ErrorReport.h"
#include "util/OpenDialogBuffer.h"

namespace quillane::test {

namespace {
template <class T>
T Take(std::deque<T>& queue, T fallback) {
    if (queue.empty()) {
        return fallback;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}
}  // namespace

MessageResult ScriptedDialogHost::MessageBox(const std::string& text, MessageButtons buttons,
                                             MessageIcon icon, const std::string& title) {
    messages.push_back({text, buttons, icon, title});
    const MessageResult fallback =
        buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
    return Take(messageAnswers, fallback);
}

std::string ScriptedDialogHost::InputBox(const std::string& prompt, const std::string& title,
                                         const std::string& defaultAnswer) {
    inputs.push_back({prompt, title, defaultAnswer});
    return Take(inputAnswers, std::string());
}

std::vector<std::string> ScriptedDialogHost::ShowOpen(const OpenDialogRequest& request) {
    openRequests.push_back(request);
    std::vector<std::string> picked = Take(openAnswers, std::vector<std::string>());
    CheckOpenBuffer(picked, request.maxFileSize);
    return picked;
}

std::string ScriptedDialogHost::BrowseForFolder(const std::string& prompt,
                                                const std::string& startFolder) {
    folderRequests.push_back({prompt, startFolder});
    return Take(folderAnswers, std::string());
}

std::vector<std::string> ScriptedDialogHost::ErrorReports() const {
    std::vector<std::string> out;
    for (const auto& m : messages) {
        if (m.title == kErrorReportTitle) {
            out.push_back(m.text);
        }
    }
    return out;
}

}  // namespace quillane::test
