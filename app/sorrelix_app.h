#pragma once

#include <QStringList>

namespace sorrelix::app {

class AppState;

// The process entry. Construction looks at the command line first: with "--test" it runs the
// self-check and ends the process; with "--version" or "--help" it prints that and ends the
// process; otherwise the interactive start-up goes on.
class SorrelixApp {
public:
    SorrelixApp(int argc, char** argv);

    static constexpr const char* kSelfCheckOption = "--test";
    static bool wantsSelfCheck(const QStringList& arguments);

    // The process arguments as given, the program path first.
    const QStringList& arguments() const { return arguments_; }

    static constexpr const char* kSourceOption = "--source";
    static constexpr const char* kTargetOption = "--target";
    // Hands the folders named after the first "--source" and the first "--target" to the
    // state, source first; a relative path is taken from the working directory. An option
    // with nothing after it is ignored.
    static void applyCommandLineFolders(const QStringList& arguments, AppState& state);

    // Returns when every check held; ends the process itself otherwise.
    static void runSelfTests();

private:
    [[noreturn]] static void runSelfCheckAndExit();
    // Ends the process after printing the version or the help when either is asked for.
    static void answerInformationOptions(int argc, char** argv, const QStringList& arguments);

    QStringList arguments_;
};

}  // namespace sorrelix::app
