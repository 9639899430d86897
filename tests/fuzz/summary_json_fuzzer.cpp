// Decodes hostile bytes as an analysis summary and as one comparison item. Whatever decodes
// must encode in the writer's form and decode again to the same values.

#include "fuzz_check.h"

using namespace sorrelix::engine;
using namespace sorrelix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = bytesOf(data, size);
    if (const auto summary = decoded(decodeMergeSummary, input)) {
        requireRoundTrip(*summary, decodeMergeSummary, sameSummary);
        QByteArray pieces;
        writeJson(*summary, [&](const QByteArray& piece) { pieces += piece; });
        require(pieces == encodeJson(*summary), "the summary written in pieces is the same text");
        for (const FileDiffItem& item : summary->items)
            requireRoundTrip(item, decodeFileDiffItem, sameItem);
    }
    if (const auto item = decoded(decodeFileDiffItem, input))
        requireRoundTrip(*item, decodeFileDiffItem, sameItem);
    return 0;
}
