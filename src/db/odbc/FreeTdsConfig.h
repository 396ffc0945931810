#pragma once

#include <string>

// The name of a section of the program's own FreeTDS configuration file that holds `lines`
// ("key = value" each), added to the file when new. FreeTDS is pointed at that file before
// main() (FREETDSCONF; it reads the variable at each connection, and the machine's own files
// after it for names the file does not hold). Throws DbError when the file cannot be written.
std::string freeTdsSection(const std::string& lines);

// Removes the file (also done when the program ends normally), for ends that skip that.
void removeFreeTdsConfig();
