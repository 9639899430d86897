#include <gtest/gtest.h>

#include <QApplication>

#include "app_test_support.h"
#include "file_tree.h"

// As for the workflow-state tests: the settings store and the session bus are the test's own
// before Qt starts, and the display-less platform is chosen even outside CTest.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const sorrelix::testing::ScopedConfigHome configHome;
    const sorrelix::testing::PrivateSessionBus bus;
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
