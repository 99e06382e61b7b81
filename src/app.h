#pragma once

// Starting the program: the windows' pictures and fonts, the main window
// class that child windows live in, and the start window.

namespace rt {
class Program;
}

namespace velumir {

// Makes the program's pictures available (once per process).
void initResources();
// Makes the fonts of drive C's Windows Fonts folder that the windows name
// available, then the program's stand-ins for the Khmer fonts still missing.
void loadFonts(const rt::Program &program);
// Registers the main window and shows the start window.
void start(rt::Program &program);

} // namespace velumir
