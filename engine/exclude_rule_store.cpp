#include "exclude_rule_store.h"

#include <QStringList>
#include <QVariantList>
#include <algorithm>

#include "app_settings.h"
#include "json_string_codec.h"

namespace sorrelix::engine {

namespace {

bool isUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t size = validSequenceLength(bytes, at);
        if (size == 0) return false;
        at += size;
    }
    return true;
}

std::string bytesOf(const QVariant& value) {
    if (value.typeId() == QMetaType::QByteArray) return value.toByteArray().toStdString();
    return value.toString().toStdString();
}

QVariant valueOf(const std::vector<std::string>& lines) {
    if (std::all_of(lines.begin(), lines.end(), isUtf8)) {
        QStringList texts;
        for (const std::string& line : lines) texts.append(QString::fromStdString(line));
        return texts;
    }
    // The settings file writes a list of one element as an opaque blob; one value stays legible.
    if (lines.size() == 1) return QByteArray::fromStdString(lines.front());
    QVariantList values;
    for (const std::string& line : lines) {
        if (isUtf8(line)) {
            values.append(QString::fromStdString(line));
        } else {
            values.append(QByteArray::fromStdString(line));
        }
    }
    return values;
}

}  // namespace

std::vector<std::string> ExcludeRuleStore::load() {
    const auto settings = text::openAppSettings();
    const QVariant value = settings->value(QString::fromLatin1(kStorageKey));
    if (!value.isValid()) return {};
    // A list of one line reads back as a single string (or byte array).
    if (value.typeId() != QMetaType::QStringList && value.typeId() != QMetaType::QVariantList) {
        return {bytesOf(value)};
    }
    std::vector<std::string> lines;
    for (const QVariant& element : value.toList()) lines.push_back(bytesOf(element));
    return lines;
}

bool ExcludeRuleStore::save(const std::vector<std::string>& lines) {
    const auto settings = text::openAppSettings();
    if (lines.empty()) {
        settings->remove(QString::fromLatin1(kStorageKey));
    } else {
        settings->setValue(QString::fromLatin1(kStorageKey), valueOf(lines));
    }
    settings->sync();
    return settings->status() == QSettings::NoError;
}

}  // namespace sorrelix::engine
