// Decodes hostile bytes as the stored merge history (an array of records) and as one record.
// Whatever decodes must encode in the writer's form and decode again to the same records.

#include "fuzz_check.h"

using namespace sorrelix::engine;
using namespace sorrelix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = bytesOf(data, size);
    if (const auto records = decoded(decodeMergeSessionRecords, input)) {
        requireRoundTrip(*records, decodeMergeSessionRecords, sameRecords);
        for (const auto& record : *records)
            requireRoundTrip(record, decodeMergeSessionRecord, sameRecord);
    }
    if (const auto record = decoded(decodeMergeSessionRecord, input))
        requireRoundTrip(*record, decodeMergeSessionRecord, sameRecord);
    return 0;
}
