// The list control on its own: drops of files, key codes, and no drag of its own rows.

#include "filelist/FileListView.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace quillane {
namespace {

struct DropRecorder {
    std::vector<bool> asked;
    std::vector<std::vector<std::string>> dropped;
    bool answer = true;

    void Attach(FileListView& view) {
        FileListEvents events;
        events.dragOver = [this](bool holdsFiles) {
            asked.push_back(holdsFiles);
            return answer && holdsFiles;
        };
        events.dragDrop = [this](const std::vector<std::string>& files) {
            dropped.push_back(files);
        };
        view.SetEvents(std::move(events));
    }
};

bool Enter(FileListView& view, QMimeData& mime) {
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    return enter.isAccepted();
}

bool Drop(FileListView& view, QMimeData& mime) {
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &drop);
    return drop.isAccepted();
}

TEST(FileListView, DroppedFilesReachTheHandlerInTheSourcesOrder) {
    FileListView view;
    view.resize(300, 200);
    DropRecorder recorder;
    recorder.Attach(view);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile("/books/b c.txt"), QUrl("https://example.org/a.txt"),
                  QUrl::fromLocalFile("/books/a.txt"),
                  QUrl::fromLocalFile("/books/\xd0\xba\xd0\xbd\xd0\xb8\xd0\xb3\xd0\xb0.txt")});
    EXPECT_TRUE(Enter(view, mime));
    EXPECT_TRUE(Drop(view, mime));
    ASSERT_EQ(recorder.dropped.size(), 1u);
    EXPECT_EQ(recorder.dropped[0],
              (std::vector<std::string>{"/books/b c.txt", "/books/a.txt",
                                        "/books/\xd0\xba\xd0\xbd\xd0\xb8\xd0\xb3\xd0\xb0.txt"}));
    EXPECT_EQ(view.topLevelItemCount(), 0);  // the view itself inserts nothing
}

TEST(FileListView, DroppedNamesKeepEveryByte) {
    // A name from an older system (Latin-1 "ç"), a name in UTF-8, and characters an address
    // must escape.
    QMimeData mime;
    mime.setData("text/uri-list",
                 "file:///books/Fran%E7ais.txt\r\n"
                 "file:///books/%E6%97%A5%E8%A8%98.txt\r\n"
                 "file:///books/100%25%20a%23b%3F.txt\r\n");
    EXPECT_EQ(DroppedFiles(mime), (std::vector<std::string>{"/books/Fran\xe7"
                                                            "ais.txt",
                                                            "/books/\xe6\x97\xa5\xe8\xa8\x98.txt",
                                                            "/books/100% a#b?.txt"}));
    QMimeData made;
    made.setUrls({QUrl::fromLocalFile("/books/r\xc3\xa9sum\xc3\xa9 #1.txt")});
    EXPECT_EQ(DroppedFiles(made), std::vector<std::string>{"/books/r\xc3\xa9sum\xc3\xa9 #1.txt"});
}

TEST(FileListView, DataWithoutFilesIsRefused) {
    FileListView view;
    DropRecorder recorder;
    recorder.Attach(view);
    QMimeData text;
    text.setText("/books/a.txt");
    EXPECT_FALSE(Enter(view, text));
    EXPECT_FALSE(Drop(view, text));
    EXPECT_EQ(recorder.asked.front(), false);
    EXPECT_TRUE(recorder.dropped.empty());

    QMimeData web;
    web.setUrls({QUrl("https://example.org/a.txt")});
    EXPECT_FALSE(Enter(view, web));
    EXPECT_TRUE(recorder.dropped.empty());
}

TEST(FileListView, HandlerThatRefusesKeepsTheDropOut) {
    FileListView view;
    DropRecorder recorder;
    recorder.answer = false;
    recorder.Attach(view);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile("/books/a.txt")});
    EXPECT_FALSE(Enter(view, mime));
    EXPECT_FALSE(Drop(view, mime));
    EXPECT_TRUE(recorder.dropped.empty());
}

TEST(FileListView, NeverDragsItsOwnRows) {
    FileListView view;
    EXPECT_FALSE(view.dragEnabled());
    EXPECT_EQ(view.dragDropMode(), QAbstractItemView::DropOnly);
    EXPECT_TRUE(view.viewport()->acceptDrops());
    EXPECT_FALSE(view.rootIsDecorated());
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(FileListView, KeyCodesAreTheDesktopsVirtualKeys) {
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Delete), 46);
    // The full stop has the same Qt number as Delete's virtual key; it must not become one.
    EXPECT_EQ(Qt::Key_Period, 46);
    EXPECT_NE(VirtualKeyCode(Qt::Key_Period), 46);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_A), 65);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Z), 90);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_0), 48);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_F1), 112);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Down), 40);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Return), 13);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Enter), 13);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Backspace), 8);
    EXPECT_EQ(ShiftState(Qt::NoModifier), 0);
    EXPECT_EQ(ShiftState(Qt::ShiftModifier), 1);
    EXPECT_EQ(ShiftState(Qt::ControlModifier), 2);
    EXPECT_EQ(ShiftState(Qt::AltModifier), 4);
    EXPECT_EQ(ShiftState(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
}

}  // namespace
}  // namespace quillane
