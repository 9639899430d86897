#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace sorrelix::cli {

// Exit statuses of the command-line tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs one command; arguments exclude the program name. Paths stay raw bytes.
int runCommand(const std::vector<std::string>& arguments);

// An absolute form of a folder argument, relative ones taken against the working folder.
std::string absoluteFolderPath(const std::string& argument);

}  // namespace sorrelix::cli
