// The list's own operations driven with real key and mouse events: removing, clearing, and
// the press-and-drag gesture with its swap and scrolling rules.

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "filelist/FileList.h"
#include "filelist/FileListView.h"
#include "tests/app/Form1Fixture.h"

namespace quillane {
namespace {

class Form1FileList : public test::Form1Fixture {
  protected:
    void SetUp() override {
        Form1Fixture::SetUp();
        form = LoadedForm();
        form->show();
        view = form->ListView1;
    }

    void Fill(std::initializer_list<const char*> paths) {
        for (const char* p : paths) {
            form->List().Add(p);
        }
    }
    void FillRows(int count) {
        for (int i = 1; i <= count; ++i) {
            form->List().Add("/books/" + std::to_string(i) + ".txt");
        }
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (int i = 1; i <= form->List().Count(); ++i) {
            texts.push_back(form->List().Text(i));
        }
        return texts;
    }
    // The centre of entry `index` (1-based) in the viewport.
    QPoint Row(int index) const { return view->visualItemRect(form->List().Item(index)).center(); }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButtons held, int screenY = 330) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(at.x() + 100, screenY), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    }
    // A click as a hand gives it: press, a small wobble of `wobble` pixels, release.
    void WobblyClick(QPoint at, int wobble) {
        Send(QEvent::MouseButtonPress, at, Qt::LeftButton);
        Send(QEvent::MouseMove, at + QPoint(wobble, 0), Qt::LeftButton);
        Send(QEvent::MouseMove, at + QPoint(wobble, wobble), Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, at + QPoint(wobble, wobble), Qt::NoButton);
    }
    // A double-click as the desktop delivers it (press, release, double-click, release), the
    // pointer wobbling by `wobble` pixels while the button is down.
    void WobblyDoubleClick(QPoint at, int wobble) {
        WobblyClick(at, wobble);
        const QPoint second = at + QPoint(wobble, wobble);
        Send(QEvent::MouseButtonDblClick, second, Qt::LeftButton);
        Send(QEvent::MouseMove, second + QPoint(0, wobble), Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, second + QPoint(0, wobble), Qt::NoButton);
    }
    // Below the last row: a press there clicks no entry.
    QPoint BelowTheRows() const {
        return QPoint(Row(1).x(),
                      view->visualItemRect(form->List().Item(form->List().Count())).bottom() + 20);
    }
    void Click(int index) { QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, Row(index)); }
    void Press(int index) { Send(QEvent::MouseButtonPress, Row(index), Qt::LeftButton); }
    void MoveTo(int index, int screenY = 330) {
        Send(QEvent::MouseMove, Row(index), Qt::LeftButton, screenY);
    }
    void Release(int index) { Send(QEvent::MouseButtonRelease, Row(index), Qt::NoButton); }

    std::unique_ptr<Form1> form;
    FileListView* view = nullptr;
};

TEST_F(Form1FileList, EmptyListIgnoresDeleteDoubleClickAndClear) {
    QTest::keyClick(view, Qt::Key_Delete);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    form->PushButton6->click();
    EXPECT_EQ(form->List().Count(), 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Form1FileList, DeleteRemovesTheSelectedEntryWhateverTheShiftState) {
    Fill({"/a", "/b", "/c", "/d", "/e"});
    view->setCurrentItem(form->List().Item(3));
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/a", "/b", "/d", "/e"}));

    view->setCurrentItem(form->List().Item(1));
    QTest::keyClick(view, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/b", "/d", "/e"}));

    view->setCurrentItem(form->List().Item(3));
    QTest::keyClick(view, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/b", "/d"}));
}

TEST_F(Form1FileList, OtherKeysAndNoSelectionRemoveNothing) {
    Fill({"/a", "/b"});
    view->setCurrentItem(form->List().Item(2));
    QTest::keyClick(view, Qt::Key_Period);
    QTest::keyClick(view, Qt::Key_Backspace);
    EXPECT_EQ(form->List().Count(), 2);
    view->clearSelection();
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(form->List().Count(), 2);
}

TEST_F(Form1FileList, DoubleClickRemovesTheEntryItLandsOn) {
    Fill({"/a", "/b", "/c"});
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, Row(2));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/a", "/c"}));
    // Below the last row it still removes the selected entry.
    view->setCurrentItem(form->List().Item(1));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, view->height() - 30));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/c"}));
}

TEST_F(Form1FileList, ClearListEmptiesTheList) {
    Fill({"/a", "/b", "/a"});
    QTest::mouseClick(form->PushButton6, Qt::LeftButton);
    EXPECT_EQ(form->List().Count(), 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Form1FileList, BusyWindowRefusesRemovingAndClearingButNotTheGesture) {
    Fill({"/a", "/b", "/c"});
    Click(1);
    form->SetMousePointer(PointerStyle::Hourglass);
    view->setCurrentItem(form->List().Item(2));
    QTest::keyClick(view, Qt::Key_Delete);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, Row(3));
    form->PushButton6->click();
    EXPECT_EQ(form->List().Count(), 3);

    Click(1);
    Press(1);
    MoveTo(2);
    Release(2);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/b", "/a", "/c"}));
    EXPECT_EQ(form->MousePointer(),
              PointerStyle::Hourglass);  // the gesture's pointer reset leaves the hourglass
}

TEST_F(Form1FileList, SlowDragWalksTheClickedEntryDown) {
    Fill({"/1", "/2", "/3", "/4", "/5"});
    Click(1);
    Press(1);
    MoveTo(1);  // still on its own row: nothing
    MoveTo(2);
    MoveTo(3);
    MoveTo(4);
    Release(4);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/2", "/3", "/4", "/1", "/5"}));
    EXPECT_EQ(form->List().SelectedIndex(), 4);

    // Moving back up undoes the walk.
    Press(4);
    MoveTo(3);
    MoveTo(2);
    MoveTo(1);
    Release(1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/1", "/2", "/3", "/4", "/5"}));
}

TEST_F(Form1FileList, FastMoveSwapsTheTwoRowsOnly) {
    Fill({"/1", "/2", "/3", "/4", "/5"});
    Click(1);
    Press(1);
    MoveTo(4);
    Release(4);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/4", "/2", "/3", "/1", "/5"}));
}

TEST_F(Form1FileList, PressAndMoveWithoutAnyClickChangesNothing) {
    Fill({"/1", "/2", "/3"});
    Send(QEvent::MouseButtonPress, BelowTheRows(), Qt::LeftButton);
    MoveTo(3);
    MoveTo(2);
    MoveTo(1);
    Release(1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/1", "/2", "/3"}));
}

// Guards the gesture against touchpads and unsteady hands: a click on one row after another
// was clicked used to swap the two.
TEST_F(Form1FileList, ClicksWithASmallWobbleNeverMoveARow) {
    Fill({"/a", "/b", "/c", "/d"});
    for (int wobble : {1, 2}) {
        WobblyClick(Row(1), wobble);
        WobblyClick(Row(3), wobble);
        WobblyClick(Row(2), wobble);
        WobblyClick(Row(4), -wobble);
        EXPECT_EQ(Texts(), (std::vector<std::string>{"/a", "/b", "/c", "/d"})) << wobble;
    }
    EXPECT_EQ(form->List().SelectedIndex(), 4);
}

TEST_F(Form1FileList, DoubleClickWithAWobbleRemovesTheClickedRowAndNoOther) {
    for (int wobble : {1, 2}) {
        form->List().Clear();
        Fill({"/a", "/b", "/c", "/d"});
        WobblyClick(Row(1), wobble);  // "/a" armed by an earlier click
        WobblyDoubleClick(Row(2), wobble);
        EXPECT_EQ(Texts(), (std::vector<std::string>{"/a", "/c", "/d"})) << wobble;
    }
}

// A press near a row's edge that wobbles onto the next row is still a click.
TEST_F(Form1FileList, NoSwapBeforeThePointerHasTravelledTheDragDistance) {
    Fill({"/a", "/b", "/c"});
    const QRect second = view->visualItemRect(form->List().Item(2));
    const QPoint nearEdge(second.center().x(), second.bottom());
    Send(QEvent::MouseButtonPress, nearEdge, Qt::LeftButton);
    Send(QEvent::MouseMove, nearEdge + QPoint(0, 2), Qt::LeftButton);
    ASSERT_EQ(view->itemAt(nearEdge + QPoint(0, 2)), form->List().Item(3));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/a", "/b", "/c"}));
    // Once the pointer has gone the drag distance, the pressed row is carried.
    const int distance = QApplication::startDragDistance();
    Send(QEvent::MouseMove, nearEdge + QPoint(0, distance), Qt::LeftButton);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/a", "/c", "/b"}));
    Send(QEvent::MouseButtonRelease, nearEdge + QPoint(0, distance), Qt::NoButton);
}

TEST_F(Form1FileList, TheRowCarriedIsTheOnePressedNotTheOneClickedBefore) {
    Fill({"/a", "/b", "/c", "/d"});
    Click(1);
    Press(3);
    MoveTo(4);
    Release(4);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/a", "/b", "/d", "/c"}));
}

TEST_F(Form1FileList, MovingWithoutTheButtonHeldChangesNothing) {
    Fill({"/1", "/2", "/3"});
    Click(1);
    Send(QEvent::MouseMove, Row(3), Qt::NoButton);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/1", "/2", "/3"}));
}

TEST_F(Form1FileList, RowWithTheSameTextIsPassedOver) {
    Fill({"/a", "/a", "/b"});
    Click(1);
    Press(1);
    MoveTo(2);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/a", "/a", "/b"}));
    MoveTo(3);
    Release(3);
    // Still armed on row 1, so row 1 and row 3 swap.
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/b", "/a", "/a"}));
}

TEST_F(Form1FileList, ReleaseKeepsTheEntryArmedForTheNextDrag) {
    Fill({"/1", "/2", "/3", "/4"});
    Click(2);
    Press(2);
    MoveTo(3);
    Release(3);
    // A press-and-drag that is no click of its own (it starts below the rows) carries the
    // entry armed last.
    Send(QEvent::MouseButtonPress, BelowTheRows(), Qt::LeftButton);
    MoveTo(4);
    Release(4);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/1", "/3", "/4", "/2"}));
}

TEST_F(Form1FileList, AppendingKeepsTheArmedEntryAndDuplicatesStay) {
    Fill({"/1", "/2"});
    Click(2);
    form->List().Add("/1");
    form->List().Add("/1");
    EXPECT_EQ(form->List().Count(), 4);
    Press(2);
    MoveTo(3);
    Release(3);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/1", "/1", "/2", "/1"}));
}

TEST_F(Form1FileList, RemovedOrClearedArmedEntryIsNoLongerCarried) {
    Fill({"/1", "/2", "/3"});
    Click(1);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/2", "/3"}));
    Send(QEvent::MouseButtonPress, BelowTheRows(), Qt::LeftButton);
    MoveTo(2);
    MoveTo(1);
    Release(1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/2", "/3"}));

    Click(1);
    form->PushButton6->click();
    Fill({"/x", "/y"});
    Send(QEvent::MouseButtonPress, BelowTheRows(), Qt::LeftButton);
    MoveTo(2);
    MoveTo(1);
    Release(1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"/x", "/y"}));
}

TEST_F(Form1FileList, HighOnTheScreenTheRowAboveIsScrolledIntoView) {
    FillRows(40);
    view->scrollToItem(form->List().Item(20), QAbstractItemView::PositionAtTop);
    QTreeWidgetItem* above = form->List().Item(19);
    ASSERT_LT(view->visualItemRect(above).top(), 0);
    Click(21);
    Press(21);
    MoveTo(20, /*screenY=*/304);
    Release(20);
    EXPECT_EQ(form->List().Text(20), "/books/21.txt");
    EXPECT_GE(view->visualItemRect(above).top(), 0);
}

TEST_F(Form1FileList, LowOnTheScreenTheRowBelowIsScrolledIntoView) {
    FillRows(40);
    const int visibleRows =
        view->viewport()->height() / view->visualItemRect(form->List().Item(1)).height();
    const int last = visibleRows;  // the lowest row shown in full
    QTreeWidgetItem* below = form->List().Item(last + 1);
    ASSERT_GT(view->visualItemRect(below).bottom(), view->viewport()->height());
    Click(last - 1);
    Press(last - 1);
    MoveTo(last, /*screenY=*/365);
    Release(last);
    EXPECT_LE(view->visualItemRect(below).bottom(), view->viewport()->height());
}

TEST_F(Form1FileList, MiddleOfTheScreenNeverScrolls) {
    FillRows(40);
    view->scrollToItem(form->List().Item(20), QAbstractItemView::PositionAtTop);
    const int before = view->verticalScrollBar()->value();
    Click(21);
    Press(21);
    MoveTo(20, 305);
    MoveTo(21, 364);
    Release(21);
    EXPECT_EQ(view->verticalScrollBar()->value(), before);
}

TEST_F(Form1FileList, ListContainsIsExactAndCaseSensitive) {
    EXPECT_FALSE(form->List().Contains("/A.txt"));
    Fill({"/books/A.txt", "/books/b.txt"});
    EXPECT_TRUE(form->List().Contains("/books/A.txt"));
    EXPECT_FALSE(form->List().Contains("/books/a.txt"));
    EXPECT_FALSE(form->List().Contains("/books/A.txt "));
    EXPECT_TRUE(form->List().Contains("/books/b.txt"));
}

}  // namespace
}  // namespace quillane
