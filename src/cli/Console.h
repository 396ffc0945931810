#pragma once

#include <QString>

#include <string>

// What the export command needs of its console, where POSIX and Windows differ.

// A file name as the command line gives it (platform/CommandLine.h).
QString fileNameFromArgument(const std::string& argument);

// Whether standard input or standard error is a terminal.
bool inputIsTerminal();
bool errorsAreTerminal();

// Standard output as bytes: Windows would otherwise write every LF of a file as CR LF.
void binaryStandardOutput();

// A line typed at the terminal without echo.
std::string readLineWithoutEcho();
