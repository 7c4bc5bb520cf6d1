#include "app/ProgramIcon.h"

namespace quillane {

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {32, 48, 128, 256}) {
        icon.addFile(QStringLiteral(":/quillane/quillane-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace quillane
