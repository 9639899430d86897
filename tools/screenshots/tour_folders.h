#pragma once

#include <QString>
#include <cstdint>

namespace sorrelix::tools {

// The folder trees the screenshot tour shows, built with real files below one root folder.
class TourFolders {
public:
    // `root` must exist; everything is made below it.
    explicit TourFolders(QString root);

    // A phone's holiday folder and the family archive it goes into: added, updated and
    // identical files, with a video of `videoBytes` that the merge copies first.
    void buildHolidayPair(std::int64_t videoBytes);
    QString holidaySource() const;
    QString archiveTarget() const;

    // Scans of more than `scanBytes` in all, and an empty target folder below `smallVolume`
    // (a file system too small to take them).
    void buildScansPair(const QString& smallVolume, std::int64_t scanBytes);
    QString scansSource() const { return scansSource_; }
    QString scansTarget() const { return scansTarget_; }
    // Removes the target folder from the small file system again.
    void removeScansTarget() const;

private:
    QString root_;
    QString scansSource_;
    QString scansTarget_;
};

}  // namespace sorrelix::tools
