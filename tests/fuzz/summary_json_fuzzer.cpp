// Decodes hostile bytes as an analysis summary and as one comparison item. Whatever decodes
// must encode in the writer's form and decode again to the same values.

#include <cstdint>

#include "fuzz_check.h"
#include "record_json.h"

namespace {

using sorrelix::engine::decodeFileDiffItem;
using sorrelix::engine::decodeMergeSummary;
using sorrelix::engine::encodeJson;
using sorrelix::engine::FileDiffItem;
using sorrelix::engine::JsonDecodeError;
using sorrelix::engine::MergeSummary;
using namespace sorrelix::fuzz;

void checkItemRoundTrip(const FileDiffItem& item) {
    const QByteArray encoded = encodeJson(item);
    requireWriterForm(encoded);
    const FileDiffItem again = decodeFileDiffItem(encoded);
    require(sameItem(item, again), "item -> JSON -> item keeps every field");
    require(encodeJson(again) == encoded, "a decoded item encodes to the same bytes");
}

void checkSummaryRoundTrip(const MergeSummary& summary) {
    const QByteArray encoded = encodeJson(summary);
    requireWriterForm(encoded);
    const MergeSummary again = decodeMergeSummary(encoded);
    require(sameSummary(summary, again), "summary -> JSON -> summary keeps every field");
    require(encodeJson(again) == encoded, "a decoded summary encodes to the same bytes");
    for (const FileDiffItem& item : summary.items) checkItemRoundTrip(item);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        checkSummaryRoundTrip(decodeMergeSummary(input));
    } catch (const JsonDecodeError&) {
    }
    try {
        checkItemRoundTrip(decodeFileDiffItem(input));
    } catch (const JsonDecodeError&) {
    }
    return 0;
}
