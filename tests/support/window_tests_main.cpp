#include "support/window_tests_main.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace testing_support {

namespace {

// The offscreen platform says what it cannot do (raise a window, and so on)
// on every show; those lines are no news to a test.
QtMessageHandler standardHandler = nullptr;

void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith("This plugin does not support") || message.startsWith("QStandardPaths: XDG_RUNTIME_DIR"))
        return;
    if (standardHandler)
        standardHandler(type, context, message);
}

} // namespace

int runWindowTests(int argc, char **argv, const char *platform)
{
    standardHandler = qInstallMessageHandler(quietMessages);
    qputenv("QT_QPA_PLATFORM", platform);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

} // namespace testing_support
