#include "engine_error.h"

#include <cstring>

namespace sorrelix::engine {

EngineError::EngineError(QString domain, int code, QString description)
    : domain_(std::move(domain)),
      code_(code),
      description_(std::move(description)),
      what_(description_.toUtf8()) {}

EngineError EngineError::copyFailed(const std::string& relativePath, int errorNumber) {
    return {kEngineErrorDomain, errorNumber,
            // One step: a "%1" inside the path must not take the error number.
            QStringLiteral("Failed to copy %1 (errno: %2)")
                .arg(QString::fromUtf8(relativePath), QString::number(errorNumber))};
}

EngineError EngineError::backupNotFound() {
    return {kEngineErrorDomain, kBackupNotFoundCode,
            QStringLiteral("Backup snapshot not found or already cleaned up")};
}

EngineError EngineError::posix(int errorNumber, const QString& action) {
    return {
        kPosixErrorDomain, errorNumber,
        QStringLiteral("%1: %2").arg(action, QString::fromLocal8Bit(std::strerror(errorNumber)))};
}

}  // namespace sorrelix::engine
