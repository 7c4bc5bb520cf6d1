#include "util/DesktopFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "util/PathHelpers.h"
#include "util/PathText.h"

namespace quillane {

std::string DesktopFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    std::string path = TextToPath(QDir::cleanPath(folder));
    if (path.empty() || path.back() != kSeparator) {
        path += kSeparator;
    }
    return path;
}

}  // namespace quillane
