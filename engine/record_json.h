#pragma once

#include <QByteArray>
#include <functional>
#include <stdexcept>
#include <vector>

#include "file_diff_item.h"
#include "merge_session_record.h"
#include "merge_summary.h"

namespace sorrelix::engine {

// Thrown when JSON text does not decode into the requested record.
class JsonDecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Compact JSON with every "/" written as "\/". Strings are byte strings: valid UTF-8 is
// written as is; each byte that is not part of valid UTF-8 is written as the escape of the
// lone surrogate U+DC00 + byte (\udc80 to \udcff), which no UTF-8 text can contain, so the
// encoding is lossless and plain UTF-8 records read unchanged.
QByteArray encodeJson(const FileDiffItem& item);
QByteArray encodeJson(const MergeSummary& summary);
QByteArray encodeJson(const MergeSessionRecord& record);
QByteArray encodeJson(const std::vector<MergeSessionRecord>& records);

// The same text as encodeJson(summary), handed to `sink` in pieces of about 64 KiB.
using JsonSink = std::function<void(const QByteArray& piece)>;
void writeJson(const MergeSummary& summary, const JsonSink& sink);

// Strict decoding: a missing required key, a value of the wrong JSON type or an unknown kind
// throws JsonDecodeError. Unknown keys are ignored; "\/" and "/" are both accepted.
FileDiffItem decodeFileDiffItem(const QByteArray& json);
MergeSummary decodeMergeSummary(const QByteArray& json);
MergeSessionRecord decodeMergeSessionRecord(const QByteArray& json);
std::vector<MergeSessionRecord> decodeMergeSessionRecords(const QByteArray& json);

}  // namespace sorrelix::engine
