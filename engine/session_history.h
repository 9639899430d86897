#pragma once

#include <functional>
#include <string>
#include <vector>

#include "merge_session_record.h"

namespace sorrelix::engine {

// The stored list of the most recent merges, newest first: the value of "SorrelixSessions",
// the raw bytes of the compact JSON array, in a store file of its own under
// $XDG_STATE_HOME/Sorrelix/ (or ~/.local/state/Sorrelix/). It is the one store that grows
// with the work, so it stays out of the settings file that every start of the window reads.
//
// Every change reads the file fresh under an exclusive lock and replaces it atomically, so
// saves from any number of threads and processes all land. A history found in the settings
// file, where earlier versions kept it, moves into the store file once.
class SessionHistory {
public:
    static constexpr const char* kStorageKey = "SorrelixSessions";
    static constexpr std::size_t kCapacity = 30;

    // An absent or unreadable store gives an empty list.
    static std::vector<MergeSessionRecord> load();
    // Prepends the record and keeps the newest 30.
    static void save(const MergeSessionRecord& record);
    // Puts the record in place of the stored one with its id (a merge that ended), or
    // prepends it when there is none.
    static void replace(const MergeSessionRecord& record);

    static std::string storeFolder();
    static std::string storeFile();

private:
    static void change(const std::function<void(std::vector<MergeSessionRecord>&)>& edit);
};

}  // namespace sorrelix::engine
