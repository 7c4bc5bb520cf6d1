#include "convert/PayloadResources.h"

#include <QFile>

#include "util/AppError.h"

namespace quillane {

namespace {
// The run-time error for a missing resource.
constexpr int kResourceNotFound = 326;
}  // namespace

std::string LoadPayload(int id) {
    QFile file(QStringLiteral(":/payload/%1").arg(id));
    if (!file.open(QIODevice::ReadOnly)) {
        throw AppError(kResourceNotFound,
                       "Resource with identifier '" + std::to_string(id) + "' not found");
    }
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

}  // namespace quillane
