#pragma once
// The batch: the list control's rows seen as 1-based entries that each hold one path.

#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace quillane {

class FileList {
  public:
    explicit FileList(QTreeWidget& view) : view_(view) {}

    // A new last entry; nothing else changes (no selection, no scrolling).
    void Add(const std::string& path);
    int Count() const;
    // Entry `index` (1-based).
    std::string Text(int index) const;
    void SetText(int index, const std::string& path);
    void Remove(int index);
    void Clear();
    // An entry whose text equals `path` exactly.
    bool Contains(const std::string& path) const;
    // The selected entry's index, or 0 when none is selected.
    int SelectedIndex() const;

    QTreeWidgetItem* Item(int index) const;
    int IndexOf(const QTreeWidgetItem* item) const;

  private:
    QTreeWidget& view_;
};

}  // namespace quillane
