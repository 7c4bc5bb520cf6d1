#include "filelist/FileList.h"

#include <QTreeWidget>

#include "util/PathText.h"

namespace quillane {

namespace {
// Lossless, so a row whose name is not valid UTF-8 still gives back the real path.
QString ToQt(const std::string& s) {
    return PathToText(s);
}
}  // namespace

void FileList::Add(const std::string& path) {
    auto* item = new QTreeWidgetItem();
    item->setText(0, ToQt(path));
    view_.addTopLevelItem(item);
}

int FileList::Count() const {
    return view_.topLevelItemCount();
}

std::string FileList::Text(int index) const {
    const QTreeWidgetItem* item = Item(index);
    return item ? TextToPath(item->text(0)) : std::string();
}

void FileList::SetText(int index, const std::string& path) {
    if (QTreeWidgetItem* item = Item(index)) {
        item->setText(0, ToQt(path));
    }
}

void FileList::Remove(int index) {
    delete view_.takeTopLevelItem(index - 1);
}

void FileList::Clear() {
    view_.clear();
}

bool FileList::Contains(const std::string& path) const {
    const QString wanted = ToQt(path);
    bool found = false;
    for (int i = 0; i < view_.topLevelItemCount(); ++i) {
        found = found || view_.topLevelItem(i)->text(0) == wanted;
    }
    return found;
}

int FileList::SelectedIndex() const {
    const QTreeWidgetItem* item = view_.currentItem();
    if (item == nullptr || !item->isSelected()) {
        return 0;
    }
    return IndexOf(item);
}

QTreeWidgetItem* FileList::Item(int index) const {
    if (index < 1 || index > view_.topLevelItemCount()) {
        return nullptr;
    }
    return view_.topLevelItem(index - 1);
}

int FileList::IndexOf(const QTreeWidgetItem* item) const {
    const int i = view_.indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
    return i < 0 ? 0 : i + 1;
}

}  // namespace quillane
