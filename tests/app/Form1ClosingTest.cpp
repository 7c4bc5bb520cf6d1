// Closing the window ends the program at once: a folder walk, a drop or a conversion run in
// progress stops at its next yield, a running converter is stopped and the run's folder goes,
// no book is left behind, and the event loop ends. Each close comes from inside the work, as
// the desktop's close box does, while the application's event loop runs.

#include <signal.h>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "filelist/FileList.h"
#include "tests/app/Form1Fixture.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;

// A converter that notes its process id beside the book it was asked for, then refuses
// SIGTERM and never ends by itself: only SIGKILL stops it. Started with no document (the run's
// check that its folder lets programs run), it ends at once, as the real one does.
constexpr const char* kStubbornConverter =
    "#!/bin/sh\n"
    "[ $# -ge 2 ] || exit 0\n"
    "trap '' TERM\n"
    "echo $$ > \"$2.pid\"\n"
    "while :; do /bin/sleep 0.05; done\n";

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

class Form1Closing : public test::Form1Fixture {
  protected:
    void SetUp() override {
        Form1Fixture::SetUp();
        const char* old = std::getenv("TEMP");
        hadTemp_ = old != nullptr;
        oldTemp_ = old ? old : "";
        setenv("TEMP", temp.path().c_str(), 1);
    }
    void TearDown() override {
        if (hadTemp_) {
            setenv("TEMP", oldTemp_.c_str(), 1);
        } else {
            unsetenv("TEMP");
        }
        Form1Fixture::TearDown();
    }

    // A loaded, shown window whose converter payload is `converter`.
    std::unique_ptr<Form1> ShownForm(const std::string& converter = {}) {
        Store("Snapshot", "x");
        Form1Services services;
        services.dialogs = &host;
        services.randomFraction = [] { return 0.5; };
        services.programFolder = programFolder.path();
        if (!converter.empty()) {
            services.payload = [converter](int id) { return id == 101 ? converter : "library"; };
        }
        auto form = std::make_unique<Form1>(services);
        form->Form_Load();
        form->show();
        return form;
    }

    // Runs `work` inside the application's event loop, as a click does; true when the loop
    // ended by the window's close (a guard ends it after a minute otherwise).
    static bool RunInEventLoop(const std::function<void()>& work) {
        QTimer::singleShot(0, work);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(60000);
        return QCoreApplication::exec() == 0;
    }

    // Many folders, each with one text file: a walk that yields many times.
    std::string Shelves(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string folder = books / ("Shelf" + std::to_string(i));
            fs::create_directories(folder + "/inner");
            test::WriteFile(folder + "/story.txt", "Once upon a time.\n");
        }
        return books.path();
    }

    test::TempDir temp;
    test::TempDir books;
    bool hadTemp_ = false;
    std::string oldTemp_;
};

TEST_F(Form1Closing, ClosingDuringAFolderWalkStopsTheWalkAndEndsTheLoop) {
    const std::string shelves = Shelves(150);
    auto form = ShownForm();
    host.inputAnswers.push_back("txt");
    host.folderAnswers.push_back(shelves);
    int yieldsSeen = 0;
    bool returned = false;
    const bool ended = RunInEventLoop([&] {
        // Closes the window from inside the walk, a few yields in.
        QTimer* closer = new QTimer(form.get());
        QObject::connect(closer, &QTimer::timeout, [&, closer] {
            if (++yieldsSeen == 3) {
                closer->stop();
                form->close();
            }
        });
        closer->start(0);
        form->PushButton4_Click();
        returned = true;
    });
    EXPECT_TRUE(ended);
    EXPECT_TRUE(returned);
    EXPECT_EQ(yieldsSeen, 3);
    EXPECT_TRUE(form->IsClosing());
    // The walk stopped before its files were listed: no row came after the close.
    EXPECT_EQ(form->List().Count(), 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Form1Closing, ClosingDuringADropStopsTheDrop) {
    const std::string shelves = Shelves(150);
    const std::string loose = books / "loose.txt";
    test::WriteFile(loose, "A loose page.\n");
    auto form = ShownForm();
    bool returned = false;
    const bool ended = RunInEventLoop([&] {
        QTimer::singleShot(0, form.get(), [&] { form->close(); });
        form->ListView1_OLEDragDrop({loose, shelves, loose});
        returned = true;
    });
    EXPECT_TRUE(ended);
    EXPECT_TRUE(returned);
    // The file dropped before the folder is in; nothing of the folder, nothing after it.
    ASSERT_EQ(form->List().Count(), 1);
    EXPECT_EQ(form->List().Text(1), loose);
}

TEST_F(Form1Closing, ClosingDuringARunStopsTheConverterRemovesTheRunFolderAndWritesNoBook) {
    test::TempDir out;
    std::vector<std::string> sources;
    for (const char* name : {"one.txt", "two.txt", "three.txt"}) {
        sources.push_back(books / name);
        test::WriteFile(sources.back(), "A short story.\n");
    }
    auto form = ShownForm(kStubbornConverter);
    form->Option1->setChecked(true);
    form->Text1->setText(QString::fromStdString(out.path() + "/"));
    for (const auto& source : sources) {
        form->List().Add(source);
    }
    const std::string pidFile = out / "one.epub.pid";
    bool returned = false;
    const bool ended = RunInEventLoop([&] {
        // Closes the window once the first converter is running.
        QTimer* closer = new QTimer(form.get());
        QObject::connect(closer, &QTimer::timeout, [&, closer] {
            if (fs::exists(pidFile) && fs::file_size(pidFile) > 0) {
                closer->stop();
                form->close();
            }
        });
        closer->start(10);
        form->PushButton2_Click();
        returned = true;
    });
    EXPECT_TRUE(ended);
    ASSERT_TRUE(returned);
    ASSERT_TRUE(fs::exists(pidFile));
    const pid_t converter = std::stoi(test::ReadFile(pidFile));
    // Stopped and gone, although it refused SIGTERM.
    EXPECT_EQ(::kill(converter, 0), -1);
    EXPECT_EQ(errno, ESRCH);
    // No second converter was started, no book written, the run's folder removed.
    EXPECT_EQ(Entries(out.path()), std::vector<std::string>{"one.epub.pid"});
    EXPECT_TRUE(Entries(temp.path()).empty());
    // Nothing is shown once the window is gone: no "Done.", no summary.
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(form->MousePointer(), PointerStyle::Default);
}

}  // namespace
}  // namespace quillane
