// GoogleTest main for the editor's UI tests: one QApplication for the whole run, offscreen unless
// the environment asks for another platform (test discovery runs without the test environment).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
