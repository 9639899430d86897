#include "record_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <charconv>
#include <string>

#include "json_string_codec.h"

namespace sorrelix::engine {

namespace {

// ---- Writing ----

void appendDate(QByteArray& out, const Date& date) {
    // The shortest plain decimal that reads back as the same double, never an exponent form
    // ("1e+08"), as a platform JSON encoder writes it. The buffer holds that text for any
    // double (at most about 330 characters), far beyond the dates Date can hold.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, date.referenceSeconds(),
                                      std::chars_format::fixed);
    out.append(buffer, static_cast<qsizetype>(result.ptr - buffer));
}

template <typename Element, typename AppendElement>
void appendArray(QByteArray& out, const std::vector<Element>& elements, AppendElement append) {
    out.append('[');
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (i > 0) out.append(',');
        append(out, elements[i]);
    }
    out.append(']');
}

// Writes one object's members in call order; the caller appends the closing brace.
class ObjectWriter {
public:
    explicit ObjectWriter(QByteArray& out) : out_(out) { out_.append('{'); }

    void bytes(const char* key, std::string_view value) { appendJsonString(member(key), value); }
    void text(const char* key, const QString& value) { appendJsonString(member(key), value); }
    void integer(const char* key, std::int64_t value) {
        member(key).append(QByteArray::number(static_cast<qlonglong>(value)));
    }
    void date(const char* key, const Date& value) { appendDate(member(key), value); }

    // Starts a member whose value the caller appends to the returned text.
    QByteArray& member(const char* key) {
        if (!first_) out_.append(',');
        first_ = false;
        appendJsonString(out_, std::string_view(key));
        out_.append(':');
        return out_;
    }

    void close() { out_.append('}'); }

private:
    QByteArray& out_;
    bool first_ = true;
};

void appendItem(QByteArray& out, const FileDiffItem& item) {
    ObjectWriter object(out);
    object.bytes("relativePath", item.relativePath);
    object.bytes("kind", rawValue(item.kind));
    object.integer("sourceSize", item.sourceSize);
    object.integer("targetSize", item.targetSize);
    object.date("sourceDate", item.sourceDate);
    if (item.targetDate) object.date("targetDate", *item.targetDate);
    object.close();
}

// With a sink, the text is handed over piece by piece as it grows, so that a summary of a
// million items is never held twice, once as items and once as text.
void appendSummary(QByteArray& out, const MergeSummary& summary, const JsonSink* sink = nullptr) {
    constexpr qsizetype kPieceBytes = qsizetype{64} * 1024;
    ObjectWriter object(out);
    object.integer("addedCount", summary.addedCount);
    object.integer("updatedCount", summary.updatedCount);
    object.integer("identicalCount", summary.identicalCount);
    object.integer("bytesToTransfer", summary.bytesToTransfer);
    object.integer("excludedCount", summary.excludedCount);
    appendArray(object.member("items"), summary.items, [&](QByteArray& text, const auto& item) {
        appendItem(text, item);
        if (sink != nullptr && text.size() >= kPieceBytes) {
            (*sink)(text);
            text.truncate(0);
        }
    });
    if (summary.errorMessage) object.text("errorMessage", *summary.errorMessage);
    object.close();
}

void appendPath(QByteArray& out, const std::string& path) {
    appendJsonString(out, path);
}

void appendRecord(QByteArray& out, const MergeSessionRecord& record) {
    ObjectWriter object(out);
    object.bytes("id", record.id);
    object.date("timestamp", record.timestamp);
    object.bytes("sourcePath", record.sourcePath);
    object.bytes("targetPath", record.targetPath);
    object.integer("addedCount", record.addedCount);
    object.integer("updatedCount", record.updatedCount);
    object.bytes("backupDir", record.backupDir);
    if (record.addedRelativePaths) {
        appendArray(object.member("addedRelativePaths"), *record.addedRelativePaths, appendPath);
    }
    object.bytes("outcome", rawValue(record.outcome));
    object.close();
}

// ---- Reading ----

[[noreturn]] void fail(const std::string& path, const char* problem) {
    throw JsonDecodeError("JSON value \"" + path + "\" " + problem);
}

std::string elementPath(const std::string& arrayPath, qsizetype index) {
    return arrayPath + "[" + std::to_string(index) + "]";
}

std::string bytesOf(const QJsonValue& value, const std::string& path) {
    if (!value.isString()) fail(path, "must be a string");
    std::optional<std::string> bytes = bytesFromJsonString(value.toString());
    if (!bytes) fail(path, "holds an unpaired surrogate that is not a byte escape");
    return std::move(*bytes);
}

QJsonObject objectOf(const QJsonValue& value, const std::string& path) {
    if (!value.isObject()) fail(path, "must be an object");
    return value.toObject();
}

// Typed, strict access to the members of one JSON object; `path` names it in errors.
class ObjectReader {
public:
    ObjectReader(const QJsonObject& object, std::string path)
        : object_(object), path_(std::move(path)) {}

    std::string bytes(const char* key) const { return bytesOf(required(key), pathOf(key)); }

    std::int64_t integer(const char* key) const { return integerOf(required(key), key); }

    std::optional<std::int64_t> optionalInteger(const char* key) const {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull()) return std::nullopt;
        return integerOf(value, key);
    }

    Date date(const char* key) const { return dateOf(required(key), key); }

    std::optional<Date> optionalDate(const char* key) const {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull()) return std::nullopt;
        return dateOf(value, key);
    }

    std::optional<QString> optionalText(const char* key) const {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull()) return std::nullopt;
        if (!value.isString()) fail(pathOf(key), "must be a string");
        return value.toString();
    }

    std::optional<std::string> optionalBytes(const char* key) const {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull()) return std::nullopt;
        return bytesOf(value, pathOf(key));
    }

    QJsonArray array(const char* key) const { return arrayOf(required(key), key); }

    std::optional<QJsonArray> optionalArray(const char* key) const {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull()) return std::nullopt;
        return arrayOf(value, key);
    }

    std::string pathOf(const char* key) const {
        return path_.empty() ? std::string(key) : path_ + "." + key;
    }

private:
    QJsonValue required(const char* key) const {
        QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined()) fail(pathOf(key), "is missing");
        if (value.isNull()) fail(pathOf(key), "must not be null");
        return value;
    }

    std::int64_t integerOf(const QJsonValue& value, const char* key) const {
        // Qt keeps integral numbers exact as qint64; anything else returns the fallback.
        const qint64 asInteger = value.toInteger(0);
        if (!value.isDouble() || asInteger != value.toInteger(1)) {
            fail(pathOf(key), "must be an integer");
        }
        return asInteger;
    }

    // Every number is a date: one beyond what Date holds reads as its earliest or latest.
    Date dateOf(const QJsonValue& value, const char* key) const {
        if (!value.isDouble()) fail(pathOf(key), "must be a number");
        return Date::fromReferenceSeconds(value.toDouble());
    }

    QJsonArray arrayOf(const QJsonValue& value, const char* key) const {
        if (!value.isArray()) fail(pathOf(key), "must be an array");
        return value.toArray();
    }

    QJsonObject object_;
    std::string path_;
};

QJsonDocument parseDocument(const QByteArray& json) {
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        throw JsonDecodeError("malformed JSON at offset " + std::to_string(error.offset) + ": " +
                              error.errorString().toStdString());
    }
    return document;
}

QJsonObject parseObject(const QByteArray& json) {
    const QJsonDocument document = parseDocument(json);
    if (!document.isObject()) throw JsonDecodeError("JSON text must be an object");
    return document.object();
}

FileDiffItem itemFrom(const QJsonObject& object, const std::string& path) {
    const ObjectReader reader(object, path);
    FileDiffItem item;
    item.relativePath = reader.bytes("relativePath");
    const std::optional<FileDiffKind> kind = fileDiffKindFromRawValue(reader.bytes("kind"));
    if (!kind) fail(reader.pathOf("kind"), "must be \"added\", \"updated\" or \"identical\"");
    item.kind = *kind;
    item.sourceSize = reader.integer("sourceSize");
    item.targetSize = reader.integer("targetSize");
    item.sourceDate = reader.date("sourceDate");
    item.targetDate = reader.optionalDate("targetDate");
    return item;
}

MergeSummary summaryFrom(const QJsonObject& object) {
    const ObjectReader reader(object, "");
    MergeSummary summary;
    summary.addedCount = reader.integer("addedCount");
    summary.updatedCount = reader.integer("updatedCount");
    summary.identicalCount = reader.integer("identicalCount");
    summary.bytesToTransfer = reader.integer("bytesToTransfer");
    // Summaries written before exclude rules existed left nothing out.
    summary.excludedCount = reader.optionalInteger("excludedCount").value_or(0);
    const QJsonArray items = reader.array("items");
    summary.items.reserve(static_cast<std::size_t>(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const std::string path = elementPath("items", i);
        summary.items.push_back(itemFrom(objectOf(items[i], path), path));
    }
    summary.errorMessage = reader.optionalText("errorMessage");
    return summary;
}

std::vector<std::string> pathsFrom(const QJsonArray& array, const std::string& path) {
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(array.size()));
    for (qsizetype i = 0; i < array.size(); ++i) {
        paths.push_back(bytesOf(array[i], elementPath(path, i)));
    }
    return paths;
}

MergeSessionRecord recordFrom(const QJsonObject& object, const std::string& path) {
    const ObjectReader reader(object, path);
    MergeSessionRecord record;
    record.id = reader.bytes("id");
    record.timestamp = reader.date("timestamp");
    record.sourcePath = reader.bytes("sourcePath");
    record.targetPath = reader.bytes("targetPath");
    record.addedCount = reader.integer("addedCount");
    record.updatedCount = reader.integer("updatedCount");
    record.backupDir = reader.bytes("backupDir");
    if (const auto paths = reader.optionalArray("addedRelativePaths")) {
        record.addedRelativePaths = pathsFrom(*paths, reader.pathOf("addedRelativePaths"));
    }
    // Records from before merges could end otherwise carry no outcome: they completed.
    if (const auto outcome = reader.optionalBytes("outcome")) {
        record.outcome = mergeOutcomeFromRawValue(*outcome);
    }
    return record;
}

}  // namespace

QByteArray encodeJson(const FileDiffItem& item) {
    QByteArray out;
    appendItem(out, item);
    return out;
}

QByteArray encodeJson(const MergeSummary& summary) {
    QByteArray out;
    appendSummary(out, summary);
    return out;
}

void writeJson(const MergeSummary& summary, const JsonSink& sink) {
    QByteArray out;
    appendSummary(out, summary, &sink);
    sink(out);
}

QByteArray encodeJson(const MergeSessionRecord& record) {
    QByteArray out;
    appendRecord(out, record);
    return out;
}

QByteArray encodeJson(const std::vector<MergeSessionRecord>& records) {
    QByteArray out;
    appendArray(out, records, appendRecord);
    return out;
}

FileDiffItem decodeFileDiffItem(const QByteArray& json) {
    return itemFrom(parseObject(json), "");
}

MergeSummary decodeMergeSummary(const QByteArray& json) {
    return summaryFrom(parseObject(json));
}

MergeSessionRecord decodeMergeSessionRecord(const QByteArray& json) {
    return recordFrom(parseObject(json), "");
}

std::vector<MergeSessionRecord> decodeMergeSessionRecords(const QByteArray& json) {
    const QJsonDocument document = parseDocument(json);
    if (!document.isArray()) throw JsonDecodeError("JSON text must be an array");
    const QJsonArray array = document.array();
    std::vector<MergeSessionRecord> records;
    records.reserve(static_cast<std::size_t>(array.size()));
    for (qsizetype i = 0; i < array.size(); ++i) {
        const std::string path = elementPath("", i);
        records.push_back(recordFrom(objectOf(array[i], path), path));
    }
    return records;
}

}  // namespace sorrelix::engine
