#pragma once

#include <sys/stat.h>

#include <string>
#include <vector>

#include "file_diff_kind.h"

namespace sorrelix::engine {

struct AnalysisProgress;

// Decides whether a source entry and the target entry at the same place hold the same
// thing, given their stat results. Only regular files are ever opened and read; links are
// compared by what they point to, other special files by type (and device number).
// With a progress, the bytes read are counted there, and a cancelled analysis stops reading
// (the answer is then meaningless: the analysis drops it).
class EntryComparison {
public:
    explicit EntryComparison(AnalysisProgress* progress = nullptr);

    // The entries' stats are already known to agree in size and time.
    bool sameContent(int sourceDirFd, const char* sourceName, const struct stat& sourceStat,
                     int targetDirFd, const char* targetName, const struct stat& targetStat);

private:
    int openToRead(int dirFd, const char* name, int extraFlags);
    bool sameFileBytes(int sourceFd, int targetFd, off_t size);
    // Whether the file system of `device` can share extents; asked once per device.
    bool mayShareExtents(dev_t device, int fd);
    AnalysisProgress* progress_;
    std::vector<char> sourceBuffer_;
    std::vector<char> targetBuffer_;
    dev_t sharingDevice_ = 0;
    bool sharingKnown_ = false;
    bool deviceShares_ = false;
    bool keepAccessTimes_ = true;
};

}  // namespace sorrelix::engine
