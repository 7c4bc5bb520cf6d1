#include "filelist/FileListView.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace quillane {

FileListView::FileListView(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setColumnCount(0);
    // The one column keeps the width it is given: a long path runs past its right end, whole,
    // until the user drags the header's divider to the right.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    setTextElideMode(Qt::ElideNone);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Pressing and moving on the list is the reorder gesture, never a drag of rows.
    setDragEnabled(false);
    setDragDropMode(QAbstractItemView::DropOnly);
    // Scrolling during the gesture follows the pointer's place on the screen (the window's
    // handler), not the view's own edge scrolling.
    setAutoScroll(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

void FileListView::keyPressEvent(QKeyEvent* event) {
    QTreeWidget::keyPressEvent(event);
    if (events_.keyDown) {
        events_.keyDown(VirtualKeyCode(event->key()), ShiftState(event->modifiers()));
    }
}

void FileListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (events_.dblClick) {
        events_.dblClick();
    }
}

void FileListView::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    if (itemAt(at) != nullptr && events_.itemClick) {
        events_.itemClick();
    }
    if (events_.mouseDown) {
        events_.mouseDown(at.x(), at.y());
    }
}

void FileListView::mouseMoveEvent(QMouseEvent* event) {
    // With a button held the moves belong to the reorder gesture; the view's own drag
    // selection would select every row the pointer merely crosses.
    if (event->buttons() == Qt::NoButton) {
        QTreeWidget::mouseMoveEvent(event);
    }
    if (events_.mouseMove) {
        const QPoint at = event->position().toPoint();
        events_.mouseMove(at.x(), at.y(), qRound(event->globalPosition().y()));
    }
}

void FileListView::mouseReleaseEvent(QMouseEvent* event) {
    if (events_.mouseUp) {
        events_.mouseUp();
    }
    QTreeWidget::mouseReleaseEvent(event);
}

bool FileListView::AcceptsDrag(const QMimeData* mime) const {
    const bool holdsFiles = mime != nullptr && !DroppedFiles(*mime).empty();
    return events_.dragOver ? events_.dragOver(holdsFiles) : false;
}

void FileListView::dragEnterEvent(QDragEnterEvent* event) {
    if (AcceptsDrag(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void FileListView::dragMoveEvent(QDragMoveEvent* event) {
    if (AcceptsDrag(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void FileListView::dropEvent(QDropEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (mime == nullptr || !AcceptsDrag(mime)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (events_.dragDrop) {
        events_.dragDrop(DroppedFiles(*mime));
    }
}

int VirtualKeyCode(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return 65 + (qtKey - Qt::Key_A);
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return 48 + (qtKey - Qt::Key_0);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
        return 112 + (qtKey - Qt::Key_F1);
    }
    switch (qtKey) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        default:
            return 0;
    }
}

int ShiftState(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) +
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) +
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

std::vector<std::string> DroppedFiles(const QMimeData& mime) {
    std::vector<std::string> files;
    for (const QUrl& url : mime.urls()) {
        if (url.isLocalFile()) {
            // The path's bytes from the address itself: a name that is not valid UTF-8 stays
            // percent-encoded there, where a decoded QString would lose it.
            const QByteArray bytes =
                QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
            files.emplace_back(bytes.constData(), std::size_t(bytes.size()));
        }
    }
    return files;
}

}  // namespace quillane
