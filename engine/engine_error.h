#pragma once

#include <QException>
#include <QString>
#include <memory>

#include "merge_session_record.h"

namespace sorrelix::engine {

inline constexpr const char* kEngineErrorDomain = "SorrelixEngine";
// File-system calls that fail pass their errno on under this domain.
inline constexpr const char* kPosixErrorDomain = "POSIX";

inline constexpr int kBackupNotFoundCode = 404;

// A failed merge or undo: a domain, a code and a description for the user.
// Derives from QException so that it travels through QFuture unchanged.
class EngineError : public QException {
public:
    EngineError(QString domain, int code, QString description);

    const QString& domain() const { return domain_; }
    int code() const { return code_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.constData(); }

    // The record of the merge that failed, as stored in the history: undo takes it back.
    const MergeSessionRecord* failedMerge() const { return failedMerge_.get(); }
    void setFailedMerge(const MergeSessionRecord& record) {
        failedMerge_ = std::make_shared<const MergeSessionRecord>(record);
    }

    void raise() const override { throw *this; }
    EngineError* clone() const override { return new EngineError(*this); }

    // "Failed to copy <path> (errno: <n>)"
    static EngineError copyFailed(const std::string& relativePath, int errorNumber);
    static EngineError backupNotFound();
    // A file-system call that failed with errno; `action` says what was being done.
    static EngineError posix(int errorNumber, const QString& action);

private:
    QString domain_;
    int code_;
    QString description_;
    QByteArray what_;
    std::shared_ptr<const MergeSessionRecord> failedMerge_;
};

}  // namespace sorrelix::engine
