#pragma once

#include <QStringList>

namespace sorrelix::app {

// The process entry. Construction looks at the command line first: with "--test" it runs the
// self-check and ends the process; otherwise the interactive start-up goes on.
class SorrelixApp {
public:
    SorrelixApp(int argc, char** argv);

    static constexpr const char* kSelfCheckOption = "--test";
    static bool wantsSelfCheck(const QStringList& arguments);

    // Returns when every check held; ends the process itself otherwise.
    static void runSelfTests();

private:
    [[noreturn]] static void runSelfCheckAndExit();
};

}  // namespace sorrelix::app
