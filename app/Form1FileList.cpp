// The list's own operations: removing the selected entry, clearing the list, and the
// press-and-drag gesture that carries an entry's path along the rows.

#include <QApplication>
#include <QTreeWidgetItem>

#include "app/Form1.h"
#include "app/HandlerSteps.h"
#include "app/PointerImage.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"
#include "filelist/ReorderGesture.h"
#include "util/AppError.h"
#include "util/ErrorReport.h"

namespace quillane {

namespace {
constexpr int kDeleteKey = 46;
}  // namespace

void Form1::RemoveSelectedEntry() {
    if (IsBusy() || List().Count() == 0) {
        return;
    }
    if (const int index = List().SelectedIndex(); index != 0) {
        // An armed entry that goes is no longer armed: its persistent index turns invalid.
        List().Remove(index);
    }
}

void Form1::ListView1_KeyDown(int keyCode, int /*shift*/) {
    if (keyCode == kDeleteKey) {
        RemoveSelectedEntry();
    }
}

void Form1::ListView1_DblClick() {
    RemoveSelectedEntry();
}

void Form1::PushButton6_Click() {
    if (IsBusy()) {
        return;
    }
    StepScope scope(dialogs(), steps::clear::kLocation);
    scope.Step(steps::clear::kClear, [&] {
        List().Clear();
        armedEntry_ = QPersistentModelIndex();
    });
}

void Form1::ListView1_ItemClick() {
    const int index = List().SelectedIndex();
    armedEntry_ = index != 0 ? QPersistentModelIndex(ListView1->indexFromItem(List().Item(index)))
                             : QPersistentModelIndex();
    try {
        const auto image = LoadPointerImage(programFolder_ + "/drag.ico");
        SetListPointer(PointerStyle::Custom, image.get());
    } catch (const AppError&) {
        // The drag pointer is decoration only: without a readable "drag.ico" the list keeps
        // the pointer it has, and the gesture works all the same.
    }
}

void Form1::ListView1_MouseDown(int x, int y) {
    buttonHeld_ = true;
    dragThreshold_.Press(x, y, QApplication::startDragDistance());
}

void Form1::ListView1_MouseMove(int x, int y, int screenY) {
    Form_MouseMove();
    if (!buttonHeld_ || !dragThreshold_.Passed(x, y)) {
        return;
    }
    QTreeWidgetItem* under = ListView1->itemAt(x, y);
    QTreeWidgetItem* armed =
        armedEntry_.isValid() ? ListView1->itemFromIndex(armedEntry_) : nullptr;
    if (under == nullptr || armed == nullptr || under->text(0) == armed->text(0)) {
        return;
    }
    const QString carried = armed->text(0);
    armed->setText(0, under->text(0));
    under->setText(0, carried);
    ListView1->setCurrentItem(under);
    armedEntry_ = QPersistentModelIndex(ListView1->indexFromItem(under));

    if (const int reveal = RowToReveal(List().IndexOf(under), List().Count(), screenY)) {
        ListView1->scrollToItem(List().Item(reveal));
    }
}

void Form1::ListView1_MouseUp() {
    buttonHeld_ = false;
    dragThreshold_.Release();
    SetListPointer(PointerStyle::Arrow, nullptr);
}

}  // namespace quillane
