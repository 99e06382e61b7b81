// The main of the tests that need windows in frames such as a window manager
// draws: the tests' own framed platform (support/framed_platform/).

#include "support/window_tests_main.h"

#include <QByteArray>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM_PLUGIN_PATH", VELUMIR_TEST_PLATFORMS);
    return testing_support::runWindowTests(argc, argv, "velumir-framed");
}
