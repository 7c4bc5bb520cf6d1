#pragma once
// The list control: a one-column report view whose rows hold source paths. It accepts drops
// of files and never starts a drag of its own rows; its input events are handed to the main
// window's handlers through FileListEvents, with key codes and shift states as the handlers
// know them (Delete is 46; Shift 1, Ctrl 2, Alt 4).

#include <QTreeWidget>
#include <functional>
#include <string>
#include <vector>

class QMimeData;

namespace quillane {

struct FileListEvents {
    std::function<void(int keyCode, int shift)> keyDown;
    std::function<void()> dblClick;
    // A press on an entry, raised once the press has selected it: the entry pressed is the
    // entry clicked.
    std::function<void()> itemClick;
    // x and y in the viewport's pixels.
    std::function<void(int x, int y)> mouseDown;
    // x and y in the viewport's pixels; screenY the pointer's vertical screen position.
    std::function<void(int x, int y, int screenY)> mouseMove;
    std::function<void()> mouseUp;
    // Asked while files are dragged over the list; false refuses the drop.
    std::function<bool(bool holdsFiles)> dragOver;
    // The dropped local paths in the drag source's order.
    std::function<void(const std::vector<std::string>& files)> dragDrop;
};

class FileListView : public QTreeWidget {
    Q_OBJECT

  public:
    explicit FileListView(QWidget* parent = nullptr);

    void SetEvents(FileListEvents events) { events_ = std::move(events); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    bool AcceptsDrag(const QMimeData* mime) const;

    FileListEvents events_;
};

// The key code a handler sees for a Qt key: the desktop's virtual-key numbers for the keys
// that have one here (Delete 46, letters 65-90, digits 48-57, ...), 0 for any other key.
int VirtualKeyCode(int qtKey);
// Shift 1, Ctrl 2, Alt 4, added together.
int ShiftState(Qt::KeyboardModifiers modifiers);
// The local file paths of the data's URLs, in order; other URLs are left out.
std::vector<std::string> DroppedFiles(const QMimeData& mime);

}  // namespace quillane
