#pragma once

#include <string>

class QLineEdit;

// An edit box's text as the program uses it: UTF-8, with the characters of code 0 to 32 removed
// at both ends.
std::string trimmedBoxText(const QLineEdit& box);
