#include "util/QtDialogHost.h"

// Placeholder: the shell fills this in.
namespace quillane {
MessageResult QtDialogHost::MessageBox(const std::string&, MessageButtons, MessageIcon,
                                       const std::string&) {
    return MessageResult::Ok;
}
std::string QtDialogHost::InputBox(const std::string&, const std::string&, const std::string&) {
    return {};
}
std::string QtDialogHost::ShowOpen(const OpenDialogRequest&) { return {}; }
std::string QtDialogHost::BrowseForFolder(const std::string&, const std::string&) { return {}; }
void QtDialogHost::OpenUrl(const std::string&) {}
void QtDialogHost::OpenFolder(const std::string&) {}
}  // namespace quillane
