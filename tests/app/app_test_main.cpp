#include <gtest/gtest.h>

#include <QApplication>

#include "app_test_support.h"
#include "file_tree.h"

// The settings store and the session bus are fixed the first time something touches them,
// so both are pointed at the test's own before Qt starts. Test discovery runs the binary
// without CTest's environment, so the display-less platform is chosen here as well.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const sorrelix::testing::ScopedConfigHome configHome;
    const sorrelix::testing::PrivateSessionBus bus;
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
