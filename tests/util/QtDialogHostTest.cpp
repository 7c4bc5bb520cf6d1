#include "util/QtDialogHost.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <filesystem>
#include <functional>

#include "tests/support/TempHome.h"
#include "util/PathText.h"

namespace quillane {
namespace {

// Runs `act` on the modal dialog as soon as one is open (the call that opens it blocks).
template <class Dialog>
void WhenOpen(std::function<void(Dialog*)> act) {
    auto* poll = new QTimer(QCoreApplication::instance());
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start();
}

class QtDialogHostTest : public ::testing::Test {
  protected:
    void SetUp() override { host.SetApplicationTitle("Quillane"); }
    QtDialogHost host{nullptr};
};

TEST_F(QtDialogHostTest, MessageShowsPlainTextWithLineBreaksAndTheApplicationTitle) {
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenOpen<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    const auto result = host.MessageBox("File <b>not</b> found\r\nin X at line 100\r\rPlease",
                                        MessageButtons::Ok, MessageIcon::Exclamation, "");
    EXPECT_EQ(result, MessageResult::Ok);
    EXPECT_EQ(title, "Quillane");
    EXPECT_EQ(text, "File <b>not</b> found\nin X at line 100\n\nPlease");
    EXPECT_EQ(format, Qt::PlainText);  // a path with "<" is never read as markup
    EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST_F(QtDialogHostTest, QuestionAnswersYesOrNoAndKeepsItsOwnTitle) {
    QString title;
    WhenOpen<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(
        host.MessageBox("Open?", MessageButtons::YesNo, MessageIcon::None, "Application Error"),
        MessageResult::No);
    EXPECT_EQ(title, "Application Error");

    WhenOpen<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(host.MessageBox("Open?", MessageButtons::YesNo, MessageIcon::None, ""),
              MessageResult::Yes);
}

TEST_F(QtDialogHostTest, InputBoxGivesTheAnswerOrEmptyOnCancel) {
    QString shownDefault, label;
    WhenOpen<QInputDialog>([&](QInputDialog* dialog) {
        shownDefault = dialog->textValue();
        label = dialog->labelText();
        dialog->setTextValue("doc");
        dialog->accept();
    });
    EXPECT_EQ(host.InputBox("Enter file extension:\r\r(* for all)", "", "txt"), "doc");
    EXPECT_EQ(shownDefault, "txt");
    EXPECT_EQ(label, "Enter file extension:\n\n(* for all)");

    WhenOpen<QInputDialog>([](QInputDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(host.InputBox("Extension?", "", "txt"), "");
}

TEST_F(QtDialogHostTest, FolderPickerOpensAtTheStartFolderAndCancelGivesEmpty) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "books");
    QString opened;
    WhenOpen<QFileDialog>([&](QFileDialog* dialog) {
        opened = dialog->directory().absolutePath();
        dialog->reject();
    });
    EXPECT_EQ(host.BrowseForFolder("Please select folder:", dir / "books"), "");
    EXPECT_EQ(opened.toStdString(), dir / "books");
}

// Guards against the toolkit's display name, which would be appended to every window title.
TEST_F(QtDialogHostTest, TitlesAreTheirOwnOrOurApplicationTitleWithNothingAppended) {
    const QString displayBefore = QGuiApplication::applicationDisplayName();
    host.SetApplicationTitle("Kelvardy Tools");
    QString boxTitle, inputTitle, pickerTitle, openTitle;
    WhenOpen<QMessageBox>([&](QMessageBox* box) {
        boxTitle = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    });
    host.MessageBox("Done.", MessageButtons::Ok, MessageIcon::None, "");
    WhenOpen<QInputDialog>([&](QInputDialog* dialog) {
        inputTitle = dialog->windowTitle();
        dialog->reject();
    });
    host.InputBox("Extension?", "", "txt");
    WhenOpen<QFileDialog>([&](QFileDialog* dialog) {
        pickerTitle = dialog->windowTitle();
        dialog->reject();
    });
    host.BrowseForFolder("Please select folder:", "");
    WhenOpen<QFileDialog>([&](QFileDialog* dialog) {
        openTitle = dialog->windowTitle();
        dialog->reject();
    });
    OpenDialogRequest request;
    request.title = "Add File(s) - Hold Ctrl to select multiple files";
    request.filter = "Text Files (*.txt)|*.txt";
    host.ShowOpen(request);

    EXPECT_EQ(boxTitle, "Kelvardy Tools");
    EXPECT_EQ(inputTitle, "Kelvardy Tools");
    EXPECT_EQ(pickerTitle, "Please select folder:");
    EXPECT_EQ(openTitle, "Add File(s) - Hold Ctrl to select multiple files");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), displayBefore);
}

// Receives the addresses the desktop would open.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    std::vector<QUrl> urls;
  public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

TEST_F(QtDialogHostTest, FolderOpenedOnTheDesktopIsTheFolderOnDisk) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "Open");
    host.OpenFolder("/srv/caf\xe9 & co/#1/");
    host.OpenFolder("/srv/\xe6\x97\xa5\xe8\xa8\x98/");
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.urls.size(), 2u);
    EXPECT_TRUE(catcher.urls[0].isLocalFile());
    EXPECT_EQ(QByteArray::fromPercentEncoding(catcher.urls[0].path(QUrl::FullyEncoded).toLatin1())
                  .toStdString(),
              "/srv/caf\xe9 & co/#1/");
    EXPECT_EQ(TextToPath(catcher.urls[1].toLocalFile()), "/srv/\xe6\x97\xa5\xe8\xa8\x98/");
}

TEST_F(QtDialogHostTest, OpenDialogCancelledGivesEmpty) {
    WhenOpen<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    OpenDialogRequest request;
    request.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    EXPECT_TRUE(host.ShowOpen(request).empty());
}

}  // namespace
}  // namespace quillane

#include "QtDialogHostTest.moc"
