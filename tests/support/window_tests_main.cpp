#include "support/window_tests_main.h"

#include "support/quiet_messages.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace testing_support {

int runWindowTests(int argc, char **argv, const char *platform)
{
    quietOffscreenMessages();
    qputenv("QT_QPA_PLATFORM", platform);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

} // namespace testing_support
