#pragma once
// The list control: a one-column report view whose rows hold source paths. It accepts drops
// of files; its input events are handed to the main window's handlers.

#include <QTreeWidget>

namespace quillane {

class FileListView : public QTreeWidget {
    Q_OBJECT

public:
    explicit FileListView(QWidget* parent = nullptr);
};

}  // namespace quillane
