#pragma once

class AppState;
class TForm1;

// The program: single instance, formats, home folder and data set, main window,
// log-in decision, the other windows behind the splash window, event loop.
int RunOrvella(int argc, char *argv[]);

// The log-in decision before the other windows are made: with the machine-wide
// switch off every permission is granted and there is no password to change;
// with it on the log-in window loads the user's flags. False when the user
// cancelled the log-in: the program ends.
bool RunLogin(AppState &state, TForm1 &main);
