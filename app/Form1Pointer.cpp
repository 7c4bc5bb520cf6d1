// The window-wide pointer: the hand over the push buttons, the default pointer elsewhere, and
// never in the way of the hourglass that marks a long operation.

#include <QCursor>
#include <QLineEdit>

#include "app/Form1.h"
#include "filelist/FileListView.h"

namespace quillane {

void Form1::SetMousePointer(PointerStyle style) {
    mousePointer_ = style;
    ApplyPointers();
}

void Form1::SetListPointer(PointerStyle style, const QCursor* image) {
    listPointer_ = style;
    listIcon_ = image ? std::make_unique<QCursor>(*image) : nullptr;
    ApplyPointers();
}

void Form1::ApplyPointers() {
    const bool busy = mousePointer_ == PointerStyle::Hourglass;
    const bool hand = mousePointer_ == PointerStyle::Custom && mouseIcon_;
    if (busy) {
        setCursor(Qt::WaitCursor);
    } else if (hand) {
        setCursor(*mouseIcon_);
    } else {
        unsetCursor();
    }
    // The window's style covers its controls too; the list and the text box carry pointers of
    // their own, which would hide the hourglass or the hand.
    QWidget* listSurface = ListView1->viewport();
    if (busy) {
        listSurface->setCursor(Qt::WaitCursor);
        Text1->setCursor(Qt::WaitCursor);
        return;
    }
    if (hand) {
        Text1->setCursor(*mouseIcon_);
    } else {
        Text1->setCursor(Qt::IBeamCursor);
    }
    if (listPointer_ == PointerStyle::Custom && listIcon_) {
        listSurface->setCursor(*listIcon_);
    } else if (listPointer_ == PointerStyle::Arrow) {
        listSurface->setCursor(Qt::ArrowCursor);
    } else {
        listSurface->unsetCursor();
    }
}

// Every hover handler: leave the hourglass alone, otherwise set its own style.
void Form1::HoverPointer(PointerStyle style) {
    if (!IsBusy()) {
        SetMousePointer(style);
    }
}

void Form1::Form_MouseMove() {
    HoverPointer(PointerStyle::Default);
}
void Form1::Frame1_MouseMove() {
    HoverPointer(PointerStyle::Default);
}
void Form1::Frame4_MouseMove() {
    HoverPointer(PointerStyle::Default);
}
void Form1::PushButton1_MouseMove() {
    HoverPointer(PointerStyle::Custom);
}
void Form1::PushButton2_MouseMove() {
    HoverPointer(PointerStyle::Custom);
}
void Form1::PushButton4_MouseMove() {
    HoverPointer(PointerStyle::Custom);
}
void Form1::PushButton6_MouseMove() {
    HoverPointer(PointerStyle::Custom);
}
void Form1::PushButton7_MouseMove() {
    HoverPointer(PointerStyle::Custom);
}
void Form1::PushButton9_MouseMove() {
    HoverPointer(PointerStyle::Custom);
}

}  // namespace quillane
