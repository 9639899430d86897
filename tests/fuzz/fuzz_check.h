#pragma once

#include <QByteArray>
#include <QUtf8StringView>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "record_json.h"

namespace sorrelix::fuzz {

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

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
    return a.addedCount == b.addedCount && a.updatedCount == b.updatedCount &&
           a.identicalCount == b.identicalCount && a.bytesToTransfer == b.bytesToTransfer &&
           a.errorMessage == b.errorMessage && std::ranges::equal(a.items, b.items, sameItem);
}

inline bool sameRecord(const engine::MergeSessionRecord& a, const engine::MergeSessionRecord& b) {
    return a.id == b.id && a.timestamp == b.timestamp && a.sourcePath == b.sourcePath &&
           a.targetPath == b.targetPath && a.addedCount == b.addedCount &&
           a.updatedCount == b.updatedCount && a.backupDir == b.backupDir &&
           a.addedRelativePaths == b.addedRelativePaths && a.outcome == b.outcome;
}

inline bool sameRecords(const std::vector<engine::MergeSessionRecord>& a,
                        const std::vector<engine::MergeSessionRecord>& b) {
    return std::ranges::equal(a, b, sameRecord);
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

// What `decode` makes of `json`, or nothing when it refuses the bytes.
template <typename Decode>
auto decoded(Decode decode, const QByteArray& json) -> std::optional<decltype(decode(json))> {
    try {
        return decode(json);
    } catch (const engine::JsonDecodeError&) {
        return std::nullopt;
    }
}

// A decoded value encodes in the writer's form, decodes again to an equal value (a refusal
// is a finding too), and that encodes to the same bytes.
template <typename Value, typename Decode, typename Same>
void requireRoundTrip(const Value& value, Decode decode, Same same) {
    const QByteArray encoded = engine::encodeJson(value);
    requireWriterForm(encoded);
    const auto again = decoded(decode, encoded);
    require(again && same(value, *again), "value -> JSON -> value keeps every field");
    require(engine::encodeJson(*again) == encoded, "a decoded value encodes to the same bytes");
}

}  // namespace sorrelix::fuzz
