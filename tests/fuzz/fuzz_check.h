#pragma once

#include <QByteArray>
#include <QUtf8StringView>
#include <cstdio>
#include <cstdlib>

#include "merge_session_record.h"
#include "merge_summary.h"

namespace sorrelix::fuzz {

// A broken property is a finding just like a crash: abort so that libFuzzer keeps the input.
inline void require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "fuzz: property broken: %s\n", property);
    std::abort();
}

inline bool sameItem(const engine::FileDiffItem& a, const engine::FileDiffItem& b) {
    return a.relativePath == b.relativePath && a.kind == b.kind && a.sourceSize == b.sourceSize &&
           a.targetSize == b.targetSize && a.sourceDate == b.sourceDate &&
           a.targetDate == b.targetDate;
}

inline bool sameSummary(const engine::MergeSummary& a, const engine::MergeSummary& b) {
    if (a.addedCount != b.addedCount || a.updatedCount != b.updatedCount ||
        a.identicalCount != b.identicalCount || a.bytesToTransfer != b.bytesToTransfer ||
        a.errorMessage != b.errorMessage || a.items.size() != b.items.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        if (!sameItem(a.items[i], b.items[i])) return false;
    }
    return true;
}

inline bool sameRecord(const engine::MergeSessionRecord& a, const engine::MergeSessionRecord& b) {
    return a.id == b.id && a.timestamp == b.timestamp && a.sourcePath == b.sourcePath &&
           a.targetPath == b.targetPath && a.addedCount == b.addedCount &&
           a.updatedCount == b.updatedCount && a.backupDir == b.backupDir &&
           a.addedRelativePaths == b.addedRelativePaths && a.outcome == b.outcome;
}

// What every writer output promises: valid UTF-8 (byte names travel as escapes), one line,
// and each "/" inside a string escaped as "\/".
inline void requireWriterForm(const QByteArray& json) {
    require(QUtf8StringView(json).isValidUtf8(), "encoded JSON is valid UTF-8");
    for (qsizetype at = 0; at < json.size(); ++at) {
        require(json[at] != '\n' && json[at] != '\r', "encoded JSON is one line");
        require(json[at] != '/', "every slash is written as \\/");
        if (json[at] == '\\') ++at;  // the escaped character cannot be a plain slash
    }
}

}  // namespace sorrelix::fuzz
