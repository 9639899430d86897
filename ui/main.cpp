#include <QCoreApplication>
#include <cstdio>

#include "sorrelix_app.h"

int main(int argc, char** argv) {
    const sorrelix::app::SorrelixApp entry(argc, argv);
    QCoreApplication application(argc, argv);
    std::fputs(
        "Sorrelix: the window is not part of this build yet.\n"
        "Run `sorrelix --test` for the engine's self-check, or use `sorrelix-cli` "
        "(see `sorrelix-cli --help`).\n",
        stderr);
    return 0;
}
