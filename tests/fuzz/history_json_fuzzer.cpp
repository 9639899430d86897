// Decodes hostile bytes as the stored merge history (an array of records) and as one record.
// Whatever decodes must encode in the writer's form and decode again to the same records.

#include <cstdint>

#include "fuzz_check.h"
#include "record_json.h"

namespace {

using sorrelix::engine::decodeMergeSessionRecord;
using sorrelix::engine::decodeMergeSessionRecords;
using sorrelix::engine::encodeJson;
using sorrelix::engine::JsonDecodeError;
using sorrelix::engine::MergeSessionRecord;
using namespace sorrelix::fuzz;

void checkRecordRoundTrip(const MergeSessionRecord& record) {
    const QByteArray encoded = encodeJson(record);
    requireWriterForm(encoded);
    const MergeSessionRecord again = decodeMergeSessionRecord(encoded);
    require(sameRecord(record, again), "record -> JSON -> record keeps every field");
    require(encodeJson(again) == encoded, "a decoded record encodes to the same bytes");
}

void checkHistoryRoundTrip(const std::vector<MergeSessionRecord>& records) {
    const QByteArray encoded = encodeJson(records);
    requireWriterForm(encoded);
    const std::vector<MergeSessionRecord> again = decodeMergeSessionRecords(encoded);
    require(again.size() == records.size(), "history -> JSON -> history keeps every record");
    for (std::size_t i = 0; i < records.size(); ++i) {
        require(sameRecord(records[i], again[i]), "history -> JSON -> history keeps every field");
        checkRecordRoundTrip(records[i]);
    }
    require(encodeJson(again) == encoded, "a decoded history encodes to the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        checkHistoryRoundTrip(decodeMergeSessionRecords(input));
    } catch (const JsonDecodeError&) {
    }
    try {
        checkRecordRoundTrip(decodeMergeSessionRecord(input));
    } catch (const JsonDecodeError&) {
    }
    return 0;
}
