#include "util/QtDialogHost.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

#include "util/DialogText.h"
#include "util/OpenDialogBuffer.h"
#include "util/PathText.h"

namespace quillane {

namespace {

QString ToQt(const std::string& s) {
    return PathToText(s);
}

}  // namespace

// A dialog without a title of its own shows the application title, and nothing is appended to
// either: the toolkit's display name stays unset.
QString QtDialogHost::TitleOrApplication(const std::string& title) const {
    return ToQt(title.empty() ? ApplicationTitle() : title);
}

MessageResult QtDialogHost::MessageBox(const std::string& text, MessageButtons buttons,
                                       MessageIcon icon, const std::string& title) {
    QMessageBox box(owner_);
    box.setWindowTitle(TitleOrApplication(title));
    // Paths and file names are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQt(DisplayText(text)));
    box.setIcon(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int answer = box.exec();
    if (buttons == MessageButtons::YesNo) {
        return answer == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
    }
    return MessageResult::Ok;
}

std::string QtDialogHost::InputBox(const std::string& prompt, const std::string& title,
                                   const std::string& defaultAnswer) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(owner_, TitleOrApplication(title), ToQt(DisplayText(prompt)),
                              QLineEdit::Normal, ToQt(defaultAnswer), &ok);
    return ok ? TextToPath(answer) : std::string();
}

std::vector<std::string> QtDialogHost::ShowOpen(const OpenDialogRequest& request) {
    QStringList filters;
    for (const std::string& f : NameFilters(request.filter)) {
        filters << ToQt(f);
    }
    const QString filter = filters.join(QStringLiteral(";;"));
    std::vector<std::string> paths;
    if (request.multiSelect) {
        for (const QString& p :
             QFileDialog::getOpenFileNames(owner_, ToQt(request.title), QString(), filter)) {
            paths.push_back(TextToPath(p));
        }
    } else if (const QString p =
                   QFileDialog::getOpenFileName(owner_, ToQt(request.title), QString(), filter);
               !p.isEmpty()) {
        paths.push_back(TextToPath(p));
    }
    CheckOpenBuffer(paths, request.maxFileSize);
    return paths;
}

std::string QtDialogHost::BrowseForFolder(const std::string& prompt,
                                          const std::string& startFolder) {
    const QString folder = QFileDialog::getExistingDirectory(
        owner_, ToQt(DisplayText(prompt)), ToQt(startFolder), QFileDialog::ShowDirsOnly);
    return WithoutTrailingSeparator(TextToPath(folder));
}

void QtDialogHost::OpenUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(ToQt(url)));
}

void QtDialogHost::OpenFolder(const std::string& path) {
    // The address carries the path's bytes percent-encoded, so a name that is not valid UTF-8
    // still names the folder.
    const QByteArray bytes(path.data(), qsizetype(path.size()));
    QDesktopServices::openUrl(QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/")));
}

}  // namespace quillane
