#pragma once

// Starting the program: the windows' pictures, the main window class that
// child windows live in, and the start window.

namespace rt {
class Program;
}

namespace velumir {

// Makes the program's pictures available (once per process).
void initResources();
// Registers the main window and shows the start window.
void start(rt::Program &program);

} // namespace velumir
