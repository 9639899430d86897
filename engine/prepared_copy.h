#pragma once

#include <sys/stat.h>

#include <cstdint>

#include "file_identity.h"
#include "unique_fd.h"

namespace sorrelix::engine {

// A regular file's copy built ahead of its turn as an unnamed file (O_TMPFILE) on the target's
// file system, with its data and owner in place; its attributes, mode and times are set just
// before it is linked to a name, which spreads the calls over both threads. Nobody can see it
// until then, and it vanishes when dropped unlinked, even when the process is killed.
struct PreparedCopy {
    enum class State {
        copyInPlace,  // not prepared (a link, a node, no unnamed files): copy it when its turn
                      // comes
        ready,
        failed,  // `error` is what copying it would have failed with
    };
    State state = State::copyInPlace;
    int error = 0;
    UniqueFd file;
    FileIdentity identity;
    std::int64_t bytesWritten = 0;  // data written rather than cloned
    UniqueFd source;                // for the attributes still to copy
    struct stat sourceStat {};
    bool modeToSet = true;
};

}  // namespace sorrelix::engine
