#pragma once

#include <string>

// What the export command needs of its console, where POSIX and Windows differ.

// Whether standard input or standard error is a terminal.
bool inputIsTerminal();
bool errorsAreTerminal();

// Standard output as bytes: Windows would otherwise write every LF of a file as CR LF.
void binaryStandardOutput();

// Text for a console goes to it as UTF-16 on Windows, which every console code page shows;
// standard output or error that is a file or a pipe keeps the UTF-8 bytes. Nothing on POSIX.
void consoleTakesWideText();

// A line typed at the terminal without echo.
std::string readLineWithoutEcho();
// Turns the terminal's echo off until restoreConsole.
void silenceConsole();
// Gives the terminal its echo back, also when the program has to end while a line is typed.
void restoreConsole();
