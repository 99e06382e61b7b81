// The main of the tests that drive windows: one QApplication for the process,
// on the offscreen platform.

#include "support/window_tests_main.h"

int main(int argc, char **argv)
{
    return testing_support::runWindowTests(argc, argv, "offscreen");
}
