#include <QCoreApplication>

#include "cli_commands.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    // Arguments are taken from argv as bytes: folder names need not be valid UTF-8.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return sorrelix::cli::runCommand(arguments);
}
