#include "record_json.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <random>

namespace sorrelix::engine {
namespace {

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
    return {"0a1b2c3d",
            unixSeconds(1700000000),
            "/src",
            "/dst",
            2,
            1,
            "/dst/.sorrelix/backups/0a1b2c3d",
            std::vector<std::string>{"x/y.jpg", "z"}};
}

bool isValidUtf8(const QByteArray& text) {
    return QString::fromUtf8(text).toUtf8() == text;
}

// Re-serialises `json` without `key` so each required key can be removed in turn.
QByteArray withoutKey(const QByteArray& json, const QString& key) {
    QJsonObject object = QJsonDocument::fromJson(json).object();
    object.remove(key);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

void expectRejected(const QByteArray& json, const std::string& messagePart,
                    void (*decode)(const QByteArray&)) {
    try {
        decode(json);
        ADD_FAILURE() << "accepted: " << json.toStdString();
    } catch (const JsonDecodeError& error) {
        EXPECT_NE(std::string(error.what()).find(messagePart), std::string::npos)
            << error.what() << " for " << json.toStdString();
    }
}

void decodeItem(const QByteArray& json) {
    decodeFileDiffItem(json);
}
void decodeSummary(const QByteArray& json) {
    decodeMergeSummary(json);
}
void decodeRecord(const QByteArray& json) {
    decodeMergeSessionRecord(json);
}
void decodeRecords(const QByteArray& json) {
    decodeMergeSessionRecords(json);
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
    EXPECT_EQ(encodeJson(std::vector<MergeSessionRecord>{}), "[]");
    EXPECT_EQ(encodeJson(std::vector<MergeSessionRecord>{record, record}),
              "[" + encodeJson(record) + "," + encodeJson(record) + "]");
}

TEST(RecordJsonEncodeTest, EscapesLikeAStandardEncoder) {
    const QByteArray json = encodeJson(addedItem("q\"b\\s/c\n\t\r\b\f\x01\x1f\x7f"));
    EXPECT_NE(json.indexOf(R"("q\"b\\s\/c\n\t\r\b\f\u0001\u001f)"
                           "\x7f\""),
              -1)
        << json.toStdString();
}

TEST(RecordJsonEncodeTest, DatesCountSecondsFrom2001) {
    const auto sourceDateText = [](Date date) {
        FileDiffItem item = addedItem("a");
        item.sourceDate = date;
        const QByteArray json = encodeJson(item);
        return json.mid(json.indexOf("\"sourceDate\":") + 13).chopped(1);
    };
    EXPECT_EQ(sourceDateText(unixSeconds(978307200)), "0");
    EXPECT_EQ(sourceDateText(unixSeconds(1700000000)), "721692800");
    EXPECT_EQ(sourceDateText(unixSeconds(0)), "-978307200");
    EXPECT_EQ(sourceDateText(unixSeconds(1700000000.25)), "721692800.25");
    EXPECT_EQ(sourceDateText(unixSeconds(978307200 + 1e8)), "100000000");
    EXPECT_EQ(sourceDateText(unixSeconds(978307200 - 8e8)), "-800000000");
    EXPECT_EQ(sourceDateText(Date::fromTimespec({10413792000, 0})), "9435484800");  // 2300
    EXPECT_EQ(sourceDateText(unixSeconds(978307200 + 1e15)), "1000000000000000");
}

TEST(RecordJsonEncodeTest, PlainUtf8IsWrittenRaw) {
    const QByteArray json = encodeJson(addedItem("Fotos/Ürlaub/日本.jpg"));
    EXPECT_NE(json.indexOf(R"("Fotos\/Ürlaub\/日本.jpg")"), -1) << json.toStdString();
}

TEST(RecordJsonEncodeTest, BytesOutsideUtf8BecomeLoneSurrogateEscapes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\xff", R"(\udcff)"},
        {"a\x80z", R"(a\udc80z)"},
        {"\xe2\x82", R"(\udce2\udc82)"},                      // truncated "€"
        {"\xe2\x82z", R"(\udce2\udc82z)"},                    // truncated, then text
        {"\xc0\xaf", R"(\udcc0\udcaf)"},                      // overlong "/"
        {"\xed\xb2\x80", R"(\udced\udcb2\udc80)"},            // encoded surrogate
        {"\xf4\x90\x80\x80", R"(\udcf4\udc90\udc80\udc80)"},  // beyond U+10FFFF
        {"\xe2\x82\xac\xff", "\xe2\x82\xac\\udcff"},
    };
    for (const auto& [name, escaped] : cases) {
        const QByteArray json = encodeJson(addedItem(name));
        EXPECT_TRUE(isValidUtf8(json)) << escaped;
        EXPECT_NE(json.indexOf("\"" + QByteArray::fromStdString(escaped) + "\""), -1)
            << json.toStdString();
        EXPECT_EQ(decodeFileDiffItem(json).relativePath, name) << escaped;
    }
}

TEST(RecordJsonRoundTripTest, AllTypesReadBackUnchanged) {
    const FileDiffItem item = updatedItem();
    const FileDiffItem decodedItem = decodeFileDiffItem(encodeJson(item));
    EXPECT_EQ(decodedItem.relativePath, item.relativePath);
    EXPECT_EQ(decodedItem.kind, item.kind);
    EXPECT_EQ(decodedItem.sourceSize, item.sourceSize);
    EXPECT_EQ(decodedItem.targetSize, item.targetSize);
    EXPECT_EQ(decodedItem.sourceDate, item.sourceDate);
    EXPECT_EQ(decodedItem.targetDate, item.targetDate);
    EXPECT_FALSE(decodeFileDiffItem(encodeJson(addedItem("a"))).targetDate);

    FileDiffItem identical = addedItem("\xff/\x80");
    identical.kind = FileDiffKind::identical;
    identical.targetDate = unixSeconds(1700000000.75);
    const MergeSummary summary{1,
                               1,
                               1,
                               INT64_MAX,
                               {addedItem("a"), updatedItem(), identical},
                               QString::fromUtf8("Fehler: \xc3\xbc") + QChar(0xDC80),
                               7};
    const MergeSummary decodedSummary = decodeMergeSummary(encodeJson(summary));
    EXPECT_EQ(decodedSummary.bytesToTransfer, INT64_MAX);
    EXPECT_EQ(decodedSummary.errorMessage, summary.errorMessage);
    ASSERT_EQ(decodedSummary.items.size(), 3u);
    EXPECT_EQ(decodedSummary.items[2].relativePath, identical.relativePath);
    EXPECT_EQ(decodedSummary.items[2].kind, FileDiffKind::identical);
    EXPECT_EQ(decodedSummary.items[2].targetDate, identical.targetDate);
    EXPECT_EQ(encodeJson(decodedSummary), encodeJson(summary));

    MergeSessionRecord record = sampleRecord();
    record.addedCount = INT64_MIN;
    record.updatedCount = 9007199254740993;  // not exact as a double
    record.sourcePath =
        "/m\xe9"
        "dia";
    record.outcome = MergeOutcome::interrupted;
    const MergeSessionRecord decoded = decodeMergeSessionRecord(encodeJson(record));
    EXPECT_EQ(decoded.outcome, MergeOutcome::interrupted);
    EXPECT_EQ(decoded.addedCount, INT64_MIN);
    EXPECT_EQ(decoded.updatedCount, 9007199254740993);
    EXPECT_EQ(decoded.sourcePath, record.sourcePath);
    EXPECT_EQ(decoded.addedRelativePaths, record.addedRelativePaths);
    EXPECT_EQ(encodeJson(decodeMergeSessionRecords(encodeJson({record, sampleRecord()}))),
              encodeJson({record, sampleRecord()}));
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
        EXPECT_LE(decoded.secondsApartFrom(item.sourceDate),
                  std::abs(item.sourceDate.referenceSeconds()) * 1e-15)
            << time.tv_sec;
    }
    EXPECT_LT(Date::fromTimespec({10413792000, 0}), Date::fromTimespec({INT64_MAX, 0}));
    EXPECT_LT(Date::fromTimespec({-1, 999999999}), Date::fromTimespec({0, 0}));
}

// A stored number is always a date: one out of range must not make the history unreadable.
TEST(RecordJsonDecodeTest, EveryNumberIsADate) {
    const Date earliest = Date::fromTimespec({INT64_MIN, 0});
    const Date latest = Date::fromTimespec({INT64_MAX, 999999999});
    const std::vector<std::pair<QByteArray, Date>> cases = {
        {"1e12", Date::fromTimespec({1000978307200, 0})},
        {"-1e12", Date::fromTimespec({-999021692800, 0})},
        {"0.9999999999", Date::fromTimespec({978307201, 0})},
        {"1e300", latest},
        {"-1e300", earliest},
        {"9223372036854775807", latest},
        {"-9223372036854775808", Date::fromTimespec({INT64_MIN + 978307200, 0})},
    };
    const QByteArray record = encodeJson(sampleRecord());
    for (const auto& [number, date] : cases) {
        const QByteArray json = QByteArray(record).replace(":721692800,", ":" + number + ",");
        const auto decoded = decodeMergeSessionRecords("[" + json + "]");
        ASSERT_EQ(decoded.size(), 1U) << number.toStdString();
        EXPECT_EQ(decoded[0].timestamp, date) << number.toStdString();
        const QByteArray again = encodeJson(decoded[0]);
        EXPECT_EQ(decodeMergeSessionRecord(again).timestamp, date) << again.toStdString();
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

    const QByteArray record =
        R"({"id":"0a1b2c3d","timestamp":0,"sourcePath":"/s","targetPath":"/t",)"
        R"("addedCount":0,"updatedCount":0,"backupDir":"/t/.sorrelix/backups/0a1b2c3d"})";
    EXPECT_FALSE(decodeMergeSessionRecord(record).addedRelativePaths);
    QByteArray withNull = record;
    withNull.insert(1, R"("addedRelativePaths":null,)");
    EXPECT_FALSE(decodeMergeSessionRecord(withNull).addedRelativePaths);
    EXPECT_EQ(decodeMergeSessionRecord(record).outcome, MergeOutcome::completed);
    for (const auto& [value, outcome] : std::vector<std::pair<QByteArray, MergeOutcome>>{
             {"null", MergeOutcome::completed},
             {"\"failed\"", MergeOutcome::failed},
             {"\"Failed\"", MergeOutcome::interrupted},
             {"\"later\"", MergeOutcome::interrupted}}) {
        EXPECT_EQ(
            decodeMergeSessionRecord(QByteArray(record).insert(1, "\"outcome\":" + value + ","))
                .outcome,
            outcome)
            << value.toStdString();
    }
    EXPECT_TRUE(decodeMergeSessionRecords(" [ ] \n").empty());
}

TEST(RecordJsonDecodeTest, RejectsEachMissingRequiredKey) {
    const QByteArray item = encodeJson(updatedItem());
    for (const char* key : {"relativePath", "kind", "sourceSize", "targetSize", "sourceDate"}) {
        expectRejected(withoutKey(item, key), std::string("\"") + key + "\" is missing",
                       decodeItem);
    }
    const QByteArray summary = encodeJson(MergeSummary::failure("x"));
    for (const char* key :
         {"addedCount", "updatedCount", "identicalCount", "bytesToTransfer", "items"}) {
        expectRejected(withoutKey(summary, key), std::string("\"") + key + "\" is missing",
                       decodeSummary);
    }
    const QByteArray record = encodeJson(sampleRecord());
    for (const char* key : {"id", "timestamp", "sourcePath", "targetPath", "addedCount",
                            "updatedCount", "backupDir"}) {
        expectRejected(withoutKey(record, key), std::string("\"") + key + "\" is missing",
                       decodeRecord);
    }
}

TEST(RecordJsonDecodeTest, RejectsWrongTypesAndValues) {
    const QByteArray item = encodeJson(updatedItem());
    const auto replaced = [&item](const char* from, const char* to) {
        return QByteArray(item).replace(from, to);
    };
    expectRejected(replaced("\"updated\"", "\"Updated\""), "\"kind\" must be", decodeItem);
    expectRejected(replaced("\"updated\"", "\"added \""), "\"kind\" must be", decodeItem);
    expectRejected(replaced(":10,", ":1.5,"), "\"sourceSize\" must be an integer", decodeItem);
    expectRejected(replaced(":10,", ":\"10\","), "\"sourceSize\" must be an integer", decodeItem);
    expectRejected(replaced(":10,", ":9223372036854775808,"), "\"sourceSize\" must be an integer",
                   decodeItem);
    expectRejected(replaced(":10,", ":null,"), "\"sourceSize\" must not be null", decodeItem);
    expectRejected(replaced("\"sourceDate\":0", "\"sourceDate\":\"0\""),
                   "\"sourceDate\" must be a number", decodeItem);
    expectRejected(replaced("\"targetDate\":0.5", "\"targetDate\":true"),
                   "\"targetDate\" must be a number", decodeItem);
    expectRejected(replaced("\"kind\"", "\"kind\":1,\"x\""), "\"kind\" must be a string",
                   decodeItem);
    expectRejected(replaced("docs", "\\ud800"), "\"relativePath\" holds an unpaired", decodeItem);

    const QByteArray summary = encodeJson(MergeSummary{0, 1, 0, 10, {updatedItem()}, {}});
    expectRejected(
        QByteArray(summary).replace("\"items\":[", "\"items\":{\"a\":").replace("]", "}"),
        "\"items\" must be an array", decodeSummary);
    expectRejected(QByteArray(summary).replace("\"updated\"", "\"Added\""),
                   "\"items[0].kind\" must be", decodeSummary);
    expectRejected(QByteArray(summary).replace("[{", "[{},{"), "\"items[0].relativePath\"",
                   decodeSummary);
    expectRejected(QByteArray(summary).replace("[{", "[7,{"), "\"items[0]\" must be an object",
                   decodeSummary);
    expectRejected(QByteArray(summary).replace("}]", R"(}],"errorMessage":5)"),
                   "\"errorMessage\" must be a string", decodeSummary);
    expectRejected(QByteArray(summary).replace(R"("excludedCount":0)", R"("excludedCount":"0")"),
                   "\"excludedCount\" must be an integer", decodeSummary);

    const QByteArray record = encodeJson(sampleRecord());
    expectRejected(QByteArray(record).replace(":721692800,", ":\"721692800\","),
                   "\"timestamp\" must be a number", decodeRecord);
    expectRejected(QByteArray(record).replace("\"completed\"", "[]"),
                   "\"outcome\" must be a string", decodeRecord);
    expectRejected(QByteArray(record).replace("\"z\"", "null"),
                   "\"addedRelativePaths[1]\" must be a string", decodeRecord);
    expectRejected(QByteArray(record).replace(R"(["x\/y.jpg","z"])", R"("x")"),
                   "\"addedRelativePaths\" must be an array", decodeRecord);
}

TEST(RecordJsonDecodeTest, RejectsMalformedTextAndWrongTopLevel) {
    const QByteArray item = encodeJson(updatedItem());
    for (const QByteArray& text :
         {QByteArray(), QByteArray("   "), item + "x", item + item, item.chopped(1),
          QByteArray("{\"relativePath\":\"\xff\"}"), QByteArray(100000, '[')}) {
        expectRejected(text, "malformed JSON", decodeItem);
    }
    expectRejected("[" + item + "]", "must be an object", decodeItem);
    expectRejected(encodeJson(sampleRecord()), "must be an array", decodeRecords);

    MergeSessionRecord broken = sampleRecord();
    const QByteArray good = encodeJson(broken);
    const QByteArray bad = QByteArray(good).replace("\"0a1b2c3d\",", "7,");
    expectRejected("[" + good + "," + bad + "]", "\"[1].id\" must be a string", decodeRecords);
}

TEST(RecordJsonDecodeTest, DamagedTextOnlyEverThrowsJsonDecodeError) {
    const QByteArray json =
        encodeJson(std::vector<MergeSessionRecord>{sampleRecord(), sampleRecord()});
    for (qsizetype length = 0; length < json.size(); ++length) {
        EXPECT_THROW(decodeMergeSessionRecords(json.left(length)), JsonDecodeError) << length;
    }
    std::mt19937 random(20240601);
    const char replacements[] = {'"', '\\', '{', '}', '[', ']',  ',',    ':',    '1',
                                 '.', 'e',  '-', 'n', 'u', '\0', '\x80', '\xff', ' '};
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = json;
        for (int change = 0; change < 3; ++change) {
            damaged[random() % damaged.size()] = replacements[random() % sizeof replacements];
        }
        try {
            decodeMergeSessionRecords(damaged);
        } catch (const JsonDecodeError&) {
        }
    }
}

}  // namespace
}  // namespace sorrelix::engine
