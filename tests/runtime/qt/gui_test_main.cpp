#include <QApplication>
#include <gtest/gtest.h>

// One application object for every GUI test, on the offscreen platform
// unless another is asked for, so the tests need no display. A test program
// built with GUI_TESTS_SCALE_FACTOR shows its windows at that scale, as a
// HiDPI screen does; it must be set before the application object exists.
int main(int argc, char** argv) {
#ifdef GUI_TESTS_SCALE_FACTOR
    qputenv("QT_SCALE_FACTOR", GUI_TESTS_SCALE_FACTOR);
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
