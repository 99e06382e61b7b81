#pragma once

namespace testing_support {

// Runs the tests of a program that drives windows, with one QApplication on
// the platform named.
int runWindowTests(int argc, char **argv, const char *platform);

} // namespace testing_support
