// Pointer feedback: the hand over the push buttons, the default pointer over the window, the
// frames and the list, the hourglass never replaced; and the list's own pointer.

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>

#include "filelist/FileList.h"
#include "filelist/FileListView.h"
#include "tests/app/Form1Fixture.h"
#include "tests/support/BuiltPrograms.h"

namespace quillane {
namespace {

class Form1Pointer : public test::Form1Fixture {
  protected:
    std::unique_ptr<Form1> ShownForm(bool withHand) {
        if (withHand) {
            std::filesystem::copy_file(test::BuiltFile("HAND-M.CUR"), programFolder / "HAND-M.CUR");
        }
        auto form = LoadedForm();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }
    // A pointer move with no button held, delivered as the desktop would to `w`.
    static void Hover(QWidget* w, QPoint at = QPoint(3, 3)) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    // The window shows the plain arrow: no pointer of its own style.
    static bool ShowsOwnCursor(QWidget* w) { return w->cursor().shape() != Qt::ArrowCursor; }
};

TEST_F(Form1Pointer, HandOverEveryPushButtonDefaultBackOnTheSurfaces) {
    auto form = ShownForm(true);
    for (QPushButton* button : {form->PushButton1, form->PushButton2, form->PushButton4,
                                form->PushButton6, form->PushButton7, form->PushButton9}) {
        Hover(button);
        EXPECT_EQ(form->MousePointer(), PointerStyle::Custom) << button->objectName().toStdString();
        EXPECT_EQ(form->cursor().shape(), Qt::BitmapCursor);
        EXPECT_FALSE(form->cursor().pixmap().isNull());
        Hover(form.get());
        EXPECT_EQ(form->MousePointer(), PointerStyle::Default);
        EXPECT_FALSE(ShowsOwnCursor(form.get()));
    }
    for (QWidget* surface :
         std::initializer_list<QWidget*>{form->Frame1, form->Frame4, form->ListView1->viewport()}) {
        Hover(form->PushButton1);
        Hover(surface, QPoint(2, 2));
        EXPECT_EQ(form->MousePointer(), PointerStyle::Default)
            << surface->objectName().toStdString();
    }
}

TEST_F(Form1Pointer, ControlsWithoutAHandlerKeepTheHand) {
    auto form = ShownForm(true);
    EXPECT_EQ(form->Text1->cursor().shape(), Qt::IBeamCursor);
    Hover(form->PushButton9);
    Hover(form->Text1);
    EXPECT_EQ(form->MousePointer(), PointerStyle::Custom);
    // The window's style covers the text box too: the hand, not the box's own I-beam.
    EXPECT_EQ(form->Text1->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(form->Text1->cursor().pixmap().cacheKey(), form->cursor().pixmap().cacheKey());
    Hover(form->Option1);
    Hover(form->ProgressBar1);
    EXPECT_EQ(form->MousePointer(), PointerStyle::Custom);
    Hover(form->Frame4);
    EXPECT_EQ(form->MousePointer(), PointerStyle::Default);
    EXPECT_EQ(form->Text1->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(Form1Pointer, WithoutTheHandFileTheCustomStyleShowsTheDefaultPointer) {
    auto form = ShownForm(false);
    Hover(form->PushButton2);
    EXPECT_EQ(form->MousePointer(), PointerStyle::Custom);
    EXPECT_FALSE(ShowsOwnCursor(form.get()));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Form1Pointer, HourglassStaysOverEverything) {
    auto form = ShownForm(true);
    form->SetMousePointer(PointerStyle::Hourglass);
    for (QWidget* w : std::initializer_list<QWidget*>{form->PushButton1, form->PushButton9,
                                                      form.get(), form->Frame1, form->Frame4,
                                                      form->ListView1->viewport(), form->Text1}) {
        Hover(w);
        EXPECT_EQ(form->MousePointer(), PointerStyle::Hourglass) << w->objectName().toStdString();
    }
    EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
    // The list and the text box have pointers of their own; they show the hourglass too.
    EXPECT_EQ(form->ListView1->viewport()->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(form->Text1->cursor().shape(), Qt::WaitCursor);

    form->SetMousePointer(PointerStyle::Default);
    EXPECT_FALSE(ShowsOwnCursor(form.get()));
    EXPECT_EQ(form->Text1->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(Form1Pointer, SetMousePointerMapsTheThreeStyles) {
    auto form = ShownForm(true);
    form->SetMousePointer(PointerStyle::Custom);
    EXPECT_EQ(form->cursor().shape(), Qt::BitmapCursor);
    form->SetMousePointer(PointerStyle::Hourglass);
    EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
    EXPECT_TRUE(form->IsBusy());
    form->SetMousePointer(PointerStyle::Default);
    EXPECT_FALSE(ShowsOwnCursor(form.get()));
    EXPECT_FALSE(form->IsBusy());
}

TEST_F(Form1Pointer, PressOnAnEntryShowsTheDragImageAndReleaseTheArrow) {
    std::filesystem::copy_file(test::BuiltFile("drag.ico"), programFolder / "drag.ico");
    auto form = ShownForm(false);
    form->List().Add("/a");
    form->List().Add("/b");
    QWidget* surface = form->ListView1->viewport();
    const QPoint row = form->ListView1->visualItemRect(form->List().Item(1)).center();
    // The press on an entry is its click: the gesture carries it under the drag image.
    QTest::mousePress(surface, Qt::LeftButton, {}, row);
    EXPECT_EQ(form->ListMousePointer(), PointerStyle::Custom);
    EXPECT_EQ(surface->cursor().shape(), Qt::BitmapCursor);

    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(row.x(), row.y() + 200));
    EXPECT_EQ(form->ListMousePointer(), PointerStyle::Arrow);
    EXPECT_EQ(surface->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Form1Pointer, MissingOrBrokenDragImageKeepsTheListsPointer) {
    auto form = ShownForm(false);
    form->List().Add("/a");
    QWidget* surface = form->ListView1->viewport();
    const QPoint row = form->ListView1->visualItemRect(form->List().Item(1)).center();
    QTest::mouseClick(surface, Qt::LeftButton, {}, row);
    // The click's own release set the arrow; no "drag.ico" leaves it so.
    EXPECT_EQ(form->ListMousePointer(), PointerStyle::Arrow);

    test::WriteFile(programFolder / "drag.ico", "\0\0\1\0garbage");
    QTest::mouseClick(surface, Qt::LeftButton, {}, row);
    EXPECT_EQ(form->ListMousePointer(), PointerStyle::Arrow);
    EXPECT_TRUE(host.messages.empty());
    // The click armed the entry all the same.
    form->List().Add("/b");
    QTest::mousePress(surface, Qt::LeftButton, {}, row);
    QMouseEvent move(QEvent::MouseMove,
                     QPointF(form->ListView1->visualItemRect(form->List().Item(2)).center()),
                     QPointF(0, 330), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
    EXPECT_EQ(form->List().Text(2), "/a");
}

}  // namespace
}  // namespace quillane
