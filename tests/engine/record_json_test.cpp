#include "record_json.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <functional>

namespace sorrelix::engine {
namespace {

using Decode = std::function<void(const QByteArray&)>;
const Decode asItem = decodeFileDiffItem;
const Decode asSummary = decodeMergeSummary;
const Decode asRecord = decodeMergeSessionRecord;
const Decode asHistory = decodeMergeSessionRecords;

Date unixSeconds(double seconds) {
    return Date::fromSecondsSince1970(seconds);
}

FileDiffItem addedItem(std::string path) {
    return {std::move(path), FileDiffKind::added, 1200, 0, unixSeconds(1700000000), std::nullopt};
}

FileDiffItem updatedItem() {
    return {"docs/a.txt",           FileDiffKind::updated,   10, 7,
            unixSeconds(978307200), unixSeconds(978307200.5)};
}

MergeSessionRecord sampleRecord() {
    return {.id = "0a1b2c3d",
            .timestamp = unixSeconds(1700000000),
            .sourcePath = "/src",
            .targetPath = "/dst",
            .addedCount = 2,
            .updatedCount = 1,
            .backupDir = "/dst/.sorrelix/backups/0a1b2c3d",
            .addedRelativePaths = std::vector<std::string>{"x/y.jpg", "z"}};
}

// Re-serialises `json` without `key` so each required key can be removed in turn.
QByteArray withoutKey(const QByteArray& json, const QString& key) {
    QJsonObject object = QJsonDocument::fromJson(json).object();
    object.remove(key);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

void expectRejected(const QByteArray& json, const std::string& messagePart, const Decode& decode) {
    try {
        decode(json);
        ADD_FAILURE() << "accepted: " << json.toStdString();
    } catch (const JsonDecodeError& error) {
        EXPECT_NE(std::string(error.what()).find(messagePart), std::string::npos)
            << error.what() << " for " << json.toStdString();
    }
}

TEST(RecordJsonEncodeTest, WritesCompactTextInTableOrder) {
    EXPECT_EQ(encodeJson(addedItem("a")),
              R"({"relativePath":"a","kind":"added","sourceSize":1200,"targetSize":0,)"
              R"("sourceDate":721692800})");
    EXPECT_EQ(encodeJson(updatedItem()),
              R"({"relativePath":"docs\/a.txt","kind":"updated","sourceSize":10,)"
              R"("targetSize":7,"sourceDate":0,"targetDate":0.5})");

    MergeSummary summary{1, 0, 0, 1200, {addedItem("a")}, std::nullopt};
    EXPECT_EQ(encodeJson(summary),
              R"({"addedCount":1,"updatedCount":0,"identicalCount":0,"bytesToTransfer":1200,)"
              R"("excludedCount":0,"items":[{"relativePath":"a","kind":"added","sourceSize":1200,)"
              R"("targetSize":0,"sourceDate":721692800}]})");
    EXPECT_EQ(encodeJson(MergeSummary::failure("Ordner \"x/y\" fehlt")),
              R"({"addedCount":0,"updatedCount":0,"identicalCount":0,"bytesToTransfer":0,)"
              R"("excludedCount":0,"items":[],"errorMessage":"Ordner \"x\/y\" fehlt"})");

    MergeSessionRecord record = sampleRecord();
    record.addedRelativePaths = std::vector<std::string>{};
    record.outcome = MergeOutcome::stopped;
    const QByteArray withEmptyList =
        R"({"id":"0a1b2c3d","timestamp":721692800,"sourcePath":"\/src","targetPath":"\/dst",)"
        R"("addedCount":2,"updatedCount":1,"backupDir":"\/dst\/.sorrelix\/backups\/0a1b2c3d",)"
        R"("addedRelativePaths":[],"outcome":"stopped"})";
    EXPECT_EQ(encodeJson(record), withEmptyList);
    record.addedRelativePaths.reset();
    EXPECT_EQ(encodeJson(record),
              QByteArray(withEmptyList).replace(R"(,"addedRelativePaths":[])", ""));
    EXPECT_EQ(encodeJson(std::vector<MergeSessionRecord>{record, record}),
              "[" + encodeJson(record) + "," + encodeJson(record) + "]");
}

// Escapes as a standard encoder writes them, UTF-8 as it is, and every byte that is not
// UTF-8 as a lone surrogate escape: the text stays valid UTF-8 and reads back as the bytes.
TEST(RecordJsonEncodeTest, NamesAreEscapedAsTextAndReadBackAsTheirBytes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"q\"b\\s/c\n\t\r\b\f\x01\x1f\x7f", "q\\\"b\\\\s\\/c\\n\\t\\r\\b\\f\\u0001\\u001f\x7f"},
        {"Fotos/Ürlaub/日本.jpg", R"(Fotos\/Ürlaub\/日本.jpg)"},
        {"\xff", R"(\udcff)"},
        {"a\x80z", R"(a\udc80z)"},
        {"\xe2\x82z", R"(\udce2\udc82z)"},                    // truncated "€", then text
        {"\xc0\xaf", R"(\udcc0\udcaf)"},                      // overlong "/"
        {"\xed\xb2\x80", R"(\udced\udcb2\udc80)"},            // encoded surrogate
        {"\xf4\x90\x80\x80", R"(\udcf4\udc90\udc80\udc80)"},  // beyond U+10FFFF
        {"\xe2\x82\xac\xff", "\xe2\x82\xac\\udcff"},
    };
    for (const auto& [name, escaped] : cases) {
        const QByteArray json = encodeJson(addedItem(name));
        EXPECT_EQ(QString::fromUtf8(json).toUtf8(), json) << escaped;
        EXPECT_NE(json.indexOf("\"" + QByteArray::fromStdString(escaped) + "\""), -1)
            << json.toStdString();
        EXPECT_EQ(decodeFileDiffItem(json).relativePath, name) << escaped;
    }
}

// Whatever the values, text decodes to what encodes to the same text.
TEST(RecordJsonRoundTripTest, AllTypesReadBackUnchanged) {
    const auto same = [](const auto& value, auto decode) {
        const QByteArray json = encodeJson(value);
        EXPECT_EQ(encodeJson(decode(json)), json);
    };
    FileDiffItem identical = addedItem("\xff/\x80");
    identical.kind = FileDiffKind::identical;
    identical.targetDate = unixSeconds(1700000000.75);
    MergeSummary summary{1, 1, 1, INT64_MAX, {addedItem("a"), updatedItem(), identical}, {}, 7};
    summary.errorMessage = QString::fromUtf8("Fehler: \xc3\xbc") + QChar(0xDC80);
    same(summary, decodeMergeSummary);
    MergeSessionRecord record = sampleRecord();
    record.addedCount = INT64_MIN;
    record.updatedCount = 9007199254740993;  // not exact as a double
    record.sourcePath = "/m\xe9";
    record.outcome = MergeOutcome::interrupted;
    same(record, decodeMergeSessionRecord);
    same(std::vector<MergeSessionRecord>{record, sampleRecord()}, decodeMergeSessionRecords);
}

// Any time a file system can report is kept exactly, and reads back as the same double.
TEST(RecordJsonRoundTripTest, DatesSurviveAsTheSameDouble) {
    const std::vector<timespec> times = {
        {1700000000, 123456789}, {-1, 999999999},        {978307200, 1}, {0, 0},
        {10413792000, 5},        {INT64_MAX, 999999999}, {INT64_MIN, 0}, {-30000000000, 7}};
    for (const timespec& time : times) {
        FileDiffItem item = addedItem("a");
        item.sourceDate = Date::fromTimespec(time);
        const timespec kept = item.sourceDate.toTimespec();
        EXPECT_TRUE(kept.tv_sec == time.tv_sec && kept.tv_nsec == time.tv_nsec) << time.tv_sec;
        const Date decoded = decodeFileDiffItem(encodeJson(item)).sourceDate;
        EXPECT_EQ(decoded.referenceSeconds(), item.sourceDate.referenceSeconds()) << time.tv_sec;
    }
}

// A stored number is always a date: one out of range must not make the history unreadable.
TEST(RecordJsonDecodeTest, EveryNumberIsADate) {
    const Date latest = Date::fromTimespec({INT64_MAX, 999999999});
    const std::vector<std::pair<QByteArray, Date>> cases = {
        {"1e12", Date::fromTimespec({1000978307200, 0})},
        {"0.9999999999", Date::fromTimespec({978307201, 0})},
        {"1e300", latest},
        {"-1e300", Date::fromTimespec({INT64_MIN, 0})},
        {"9223372036854775807", latest},
        {"-9223372036854775808", Date::fromTimespec({INT64_MIN + 978307200, 0})},
    };
    const QByteArray record = encodeJson(sampleRecord());
    for (const auto& [number, date] : cases) {
        const QByteArray json = QByteArray(record).replace(":721692800,", ":" + number + ",");
        const auto decoded = decodeMergeSessionRecords("[" + json + "]");
        ASSERT_EQ(decoded.size(), 1U) << number.toStdString();
        EXPECT_EQ(decoded[0].timestamp, date) << number.toStdString();
        EXPECT_EQ(decodeMergeSessionRecord(encodeJson(decoded[0])).timestamp, date);
    }
}

TEST(RecordJsonDecodeTest, AcceptsLenientButMeaningfulVariants) {
    const FileDiffItem item = decodeFileDiffItem(
        R"({"extra":{"x":[1]},"targetDate":null,"kind":"identical","sourceDate":1.5,)"
        R"("targetSize":2,"sourceSize":1,"relativePath":"a/b\/c"})");
    EXPECT_EQ(item.relativePath, "a/b/c");
    EXPECT_EQ(item.kind, FileDiffKind::identical);
    EXPECT_EQ(item.sourceDate, unixSeconds(978307201.5));
    EXPECT_FALSE(item.targetDate);

    const MergeSummary summary = decodeMergeSummary(
        R"({"addedCount":0,"updatedCount":0,"identicalCount":0,"bytesToTransfer":0,)"
        R"("items":[],"errorMessage":null,"hasChanges":true})");
    EXPECT_FALSE(summary.errorMessage);
    EXPECT_EQ(summary.excludedCount, 0);  // written before rules existed

    // Written by an older version: no added paths, no outcome.
    const QByteArray record =
        R"({"id":"0a1b2c3d","timestamp":0,"sourcePath":"/s","targetPath":"/t",)"
        R"("addedCount":0,"updatedCount":0,"backupDir":"/t/.sorrelix/backups/0a1b2c3d"})";
    EXPECT_FALSE(decodeMergeSessionRecord(record).addedRelativePaths);
    EXPECT_FALSE(
        decodeMergeSessionRecord(QByteArray(record).insert(1, R"("addedRelativePaths":null,)"))
            .addedRelativePaths);
    EXPECT_EQ(decodeMergeSessionRecord(record).outcome, MergeOutcome::completed);
    for (const auto& [value, outcome] : std::vector<std::pair<QByteArray, MergeOutcome>>{
             {"null", MergeOutcome::completed},
             {"\"failed\"", MergeOutcome::failed},
             {"\"Failed\"", MergeOutcome::interrupted}}) {
        EXPECT_EQ(
            decodeMergeSessionRecord(QByteArray(record).insert(1, "\"outcome\":" + value + ","))
                .outcome,
            outcome)
            << value.toStdString();
    }
    EXPECT_TRUE(decodeMergeSessionRecords(" [ ] \n").empty());
}

TEST(RecordJsonDecodeTest, RejectsEachMissingRequiredKey) {
    const std::vector<std::tuple<QByteArray, std::vector<const char*>, Decode>> types = {
        {encodeJson(updatedItem()),
         {"relativePath", "kind", "sourceSize", "targetSize", "sourceDate"},
         asItem},
        {encodeJson(MergeSummary::failure("x")),
         {"addedCount", "updatedCount", "identicalCount", "bytesToTransfer", "items"},
         asSummary},
        {encodeJson(sampleRecord()),
         {"id", "timestamp", "sourcePath", "targetPath", "addedCount", "updatedCount", "backupDir"},
         asRecord},
    };
    for (const auto& [json, keys, decode] : types) {
        for (const char* key : keys) {
            expectRejected(withoutKey(json, key), std::string("\"") + key + "\" is missing",
                           decode);
        }
    }
}

TEST(RecordJsonDecodeTest, RejectsWrongTypesAndValues) {
    const QByteArray item = encodeJson(updatedItem());
    const QByteArray summary = encodeJson(MergeSummary{0, 1, 0, 10, {updatedItem()}, {}});
    const QByteArray record = encodeJson(sampleRecord());
    const auto with = [](QByteArray json, const char* from, const char* to) {
        return json.replace(from, to);
    };
    const std::vector<std::tuple<QByteArray, const char*, Decode>> cases = {
        {with(item, "\"updated\"", "\"Updated\""), "\"kind\" must be", asItem},
        {with(item, ":10,", ":1.5,"), "\"sourceSize\" must be an integer", asItem},
        {with(item, ":10,", ":\"10\","), "\"sourceSize\" must be an integer", asItem},
        {with(item, ":10,", ":9223372036854775808,"), "\"sourceSize\" must be an integer", asItem},
        {with(item, ":10,", ":null,"), "\"sourceSize\" must not be null", asItem},
        {with(item, "\"sourceDate\":0", "\"sourceDate\":\"0\""), "\"sourceDate\" must be a number",
         asItem},
        {with(item, "\"targetDate\":0.5", "\"targetDate\":true"), "\"targetDate\" must be a number",
         asItem},
        {with(item, "\"kind\"", "\"kind\":1,\"x\""), "\"kind\" must be a string", asItem},
        {with(item, "docs", "\\ud800"), "\"relativePath\" holds an unpaired", asItem},
        {with(with(summary, "\"items\":[", "\"items\":{\"a\":"), "]", "}"),
         "\"items\" must be an array", asSummary},
        {with(summary, "\"updated\"", "\"Added\""), "\"items[0].kind\" must be", asSummary},
        {with(summary, "[{", "[{},{"), "\"items[0].relativePath\"", asSummary},
        {with(summary, "[{", "[7,{"), "\"items[0]\" must be an object", asSummary},
        {with(summary, "}]", R"(}],"errorMessage":5)"), "\"errorMessage\" must be a string",
         asSummary},
        {with(summary, R"("excludedCount":0)", R"("excludedCount":"0")"),
         "\"excludedCount\" must be an integer", asSummary},
        {with(record, ":721692800,", ":\"721692800\","), "\"timestamp\" must be a number",
         asRecord},
        {with(record, "\"completed\"", "[]"), "\"outcome\" must be a string", asRecord},
        {with(record, "\"z\"", "null"), "\"addedRelativePaths[1]\" must be a string", asRecord},
        {with(record, R"(["x\/y.jpg","z"])", R"("x")"), "\"addedRelativePaths\" must be an array",
         asRecord},
        {"[" + record + "," + with(record, "\"0a1b2c3d\",", "7,") + "]",
         "\"[1].id\" must be a string", asHistory},
        {"[" + item + "]", "must be an object", asItem},
        {record, "must be an array", asHistory},
    };
    for (const auto& [json, message, decode] : cases) expectRejected(json, message, decode);
}

TEST(RecordJsonDecodeTest, MalformedOrCutTextIsRejected) {
    const QByteArray item = encodeJson(updatedItem());
    for (const QByteArray& text :
         {QByteArray(), QByteArray("   "), item + "x", item + item, item.chopped(1),
          QByteArray("{\"relativePath\":\"\xff\"}"), QByteArray(100000, '[')}) {
        expectRejected(text, "malformed JSON", asItem);
    }
    const QByteArray history =
        encodeJson(std::vector<MergeSessionRecord>{sampleRecord(), sampleRecord()});
    for (qsizetype length = 0; length < history.size(); ++length) {
        EXPECT_THROW(decodeMergeSessionRecords(history.left(length)), JsonDecodeError) << length;
    }
}

}  // namespace
}  // namespace sorrelix::engine
