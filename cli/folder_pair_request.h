#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "exclude_rules.h"

namespace sorrelix::cli {

// A command line that cannot run: the message (if any) is printed, then, when asked, the
// usage line; the tool exits with the usage status.
class ArgumentError : public std::runtime_error {
public:
    ArgumentError(const std::string& message, bool showsUsage)
        : std::runtime_error(message), showsUsage_(showsUsage) {}
    bool showsUsage() const { return showsUsage_; }

private:
    bool showsUsage_;
};

// What "analyze" and "merge" work on: the folder pair and the exclude rules, from the stored
// list (unless --no-rules), each --exclude-from FILE and each --exclude PATTERN. Options may
// stand before, between or after the folders; "--" ends them.
struct FolderPairRequest {
    std::string source;  // absolute
    std::string target;
    engine::ExcludeRules rules;

    // `arguments` starts with the command. Throws ArgumentError.
    static FolderPairRequest parse(const std::vector<std::string>& arguments);
};

}  // namespace sorrelix::cli
