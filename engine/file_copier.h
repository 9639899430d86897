#pragma once

#include <sys/stat.h>

#include <string>

#include "file_identity.h"
#include "prepared_copy.h"

namespace sorrelix::engine {

// Copies one source entry into a target folder under a name, as a copy-on-write clone where
// the file system allows it and as a full copy otherwise, with mode, owner (where
// permitted), extended attributes (ACLs included) and nanosecond times. The copy is built
// as an unnamed (or hidden temporary) file in the destination folder and only linked to its
// name when complete, so an interrupted copy never leaves a partial file behind. Links are
// copied as links; FIFOs, sockets and device nodes as what they are.
class FileCopier {
public:
    // Returns 0, or the errno of the call that failed. `copied` tells what the new entry is,
    // for undo to recognise it later.
    int copy(int sourceDirFd, const std::string& sourceName, int targetDirFd,
             const std::string& targetName, FileIdentity& copied);

    // Builds the copy of a regular file as an unnamed file in `scratchDirFd` (any folder on the
    // target's file system), for `publish` to give it its place later.
    PreparedCopy prepare(int sourceDirFd, const std::string& sourceName, int scratchDirFd);
    // Completes a ready copy's metadata and links it to its name; 0 or errno (EXDEV when the
    // folder is on another file system than the one it was prepared on).
    static int publish(PreparedCopy& prepared, int targetDirFd, const std::string& targetName);

    // Clones stop being tried once the file system has said it cannot make them.
    bool clonesSupported() const { return clonesSupported_; }
    long long clonedFiles() const { return clonedFiles_; }

private:
    int copyRegular(int sourceFd, const struct stat& sourceStat, int targetDirFd,
                    const std::string& targetName, FileIdentity& copied);
    // Clones or copies the data and sets the owner, recording that in `copy`; 0 or errno.
    int fill(int sourceFd, const struct stat& sourceStat, int targetFd, PreparedCopy& copy);
    int copyData(int sourceFd, int targetFd, off_t size);
    int copyLink(int sourceDirFd, const std::string& sourceName, const struct stat& sourceStat,
                 int targetDirFd, const std::string& targetName);
    int copyNode(const struct stat& sourceStat, int targetDirFd, const std::string& targetName);

    bool clonesSupported_ = true;
    bool unnamedFilesSupported_ = true;
    bool copyRangeSupported_ = true;
    long long clonedFiles_ = 0;
};

}  // namespace sorrelix::engine
