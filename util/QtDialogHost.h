#pragma once
// The desktop's own dialogs behind DialogHost.

#include "util/DialogHost.h"

class QString;
class QWidget;

namespace quillane {

class QtDialogHost : public DialogHost {
  public:
    explicit QtDialogHost(QWidget* owner) : owner_(owner) {}

    // The window the dialogs are modal to (the main window once it exists).
    void SetOwner(QWidget* owner) { owner_ = owner; }

    MessageResult MessageBox(const std::string& text, MessageButtons buttons, MessageIcon icon,
                             const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;
    std::vector<std::string> ShowOpen(const OpenDialogRequest& request) override;
    std::string BrowseForFolder(const std::string& prompt, const std::string& startFolder) override;
    void OpenUrl(const std::string& url) override;
    void OpenFolder(const std::string& path) override;

  private:
    QString TitleOrApplication(const std::string& title) const;

    QWidget* owner_;
};

}  // namespace quillane
