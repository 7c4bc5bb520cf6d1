// The window-wide pointer: the hand over the push buttons, the default pointer elsewhere, and
// never in the way of the hourglass that marks a long operation.

#include <QCursor>
#include <QLineEdit>

#include "app/Form1.h"
#include "filelist/FileListView.h"

namespace quillane {

namespace {
constexpr int kDefault = 0;
constexpr int kArrow = 1;
constexpr int kBusy = 11;
constexpr int kCustom = 99;
}  // namespace

void Form1::SetMousePointer(int style) {
    mousePointer_ = style;
    ApplyPointers();
}

void Form1::SetListPointer(int style, const QCursor* image) {
    listPointer_ = style;
    listIcon_ = image ? std::make_unique<QCursor>(*image) : nullptr;
    ApplyPointers();
}

void Form1::ApplyPointers() {
    if (mousePointer_ == kBusy) {
        setCursor(Qt::WaitCursor);
    } else if (mousePointer_ == kCustom && mouseIcon_) {
        setCursor(*mouseIcon_);
    } else {
        unsetCursor();
    }
    // The list and the text box carry pointers of their own, which would hide the hourglass.
    QWidget* listSurface = ListView1->viewport();
    if (mousePointer_ == kBusy) {
        listSurface->setCursor(Qt::WaitCursor);
        Text1->setCursor(Qt::WaitCursor);
        return;
    }
    Text1->setCursor(Qt::IBeamCursor);
    if (listPointer_ == kCustom && listIcon_) {
        listSurface->setCursor(*listIcon_);
    } else if (listPointer_ == kArrow) {
        listSurface->setCursor(Qt::ArrowCursor);
    } else {
        listSurface->unsetCursor();
    }
}

// Every hover handler: leave the hourglass alone, otherwise set its own style.
void Form1::HoverPointer(int style) {
    if (!IsBusy()) {
        SetMousePointer(style);
    }
}

void Form1::Form_MouseMove() {
    HoverPointer(kDefault);
}
void Form1::Frame1_MouseMove() {
    HoverPointer(kDefault);
}
void Form1::Frame4_MouseMove() {
    HoverPointer(kDefault);
}
void Form1::PushButton1_MouseMove() {
    HoverPointer(kCustom);
}
void Form1::PushButton2_MouseMove() {
    HoverPointer(kCustom);
}
void Form1::PushButton4_MouseMove() {
    HoverPointer(kCustom);
}
void Form1::PushButton6_MouseMove() {
    HoverPointer(kCustom);
}
void Form1::PushButton7_MouseMove() {
    HoverPointer(kCustom);
}
void Form1::PushButton9_MouseMove() {
    HoverPointer(kCustom);
}

}  // namespace quillane
