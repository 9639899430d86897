#pragma once

#include <vector>

#include "merge_session_record.h"

namespace sorrelix::engine {

// The stored list of the most recent merges, newest first, under "SorrelixSessions" in the
// application's settings store (the raw bytes of the compact JSON array).
class SessionHistory {
public:
    static constexpr const char* kStorageKey = "SorrelixSessions";
    static constexpr std::size_t kCapacity = 30;

    // An absent or unreadable value gives an empty list.
    static std::vector<MergeSessionRecord> load();
    // Prepends the record and keeps the newest 30. Serialized across threads and processes
    // (the window and the command-line tool may save at once), so no record is lost.
    static void save(const MergeSessionRecord& record);
};

}  // namespace sorrelix::engine
