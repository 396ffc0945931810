#pragma once

#include <string>

// The age bands the ageing window was last run with, as typed ("30,60,90,180,365"), stored
// under "\SOFTWARE\QARVO\TOLMA\Ageing" as "bands". Empty when none are stored or the store
// cannot be read; a store that cannot be written loses them and nothing else.
std::string readAgeingBands();
void writeAgeingBands(const std::string& bands);
