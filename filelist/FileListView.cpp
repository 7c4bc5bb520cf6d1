#include "filelist/FileListView.h"

namespace quillane {

FileListView::FileListView(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setColumnCount(0);
    setAcceptDrops(true);
}

}  // namespace quillane
