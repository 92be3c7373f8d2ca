#pragma once

// The program: single instance, formats, home folder and data set, main window,
// log-in decision, the other windows behind the splash window, event loop.
int RunOrvella(int argc, char *argv[]);
