#include <gtest/gtest.h>

#include <QCoreApplication>

// QProcess wants an application object in the process that starts the programs.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
