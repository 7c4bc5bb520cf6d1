#include "util/DesktopFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "util/PathHelpers.h"

namespace quillane {

std::string DesktopFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    std::string path = QDir::cleanPath(folder).toStdString();
    if (path.empty() || path.back() != kSeparator) {
        path += kSeparator;
    }
    return path;
}

}  // namespace quillane
