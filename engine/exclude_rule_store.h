#pragma once

#include <string>
#include <vector>

namespace sorrelix::engine {

// The one global exclude list of the settings store, read by the window and the command-line
// tool alike. Lines are kept as written, comments and blank lines included, as raw bytes.
class ExcludeRuleStore {
public:
    static constexpr const char* kStorageKey = "SorrelixExcludeRules";

    // The stored lines; none when nothing is stored.
    static std::vector<std::string> load();
    // Replaces the stored list (an empty list removes the key). Lines that are UTF-8 are
    // stored as text, so the settings file stays readable and editable; a line that is not
    // is stored as a byte array (@ByteArray(...) in the file), the one form that keeps every
    // byte. False when the settings file could not be written.
    [[nodiscard]] static bool save(const std::vector<std::string>& lines);
};

}  // namespace sorrelix::engine
