#pragma once

#include <filesystem>

// Where the file store keeps the keys of HKEY_LOCAL_MACHINE: $STOCKQUERY_SETTINGS_ROOT when
// set (tests point it elsewhere), else ${XDG_CONFIG_HOME:-$HOME/.config}/stockquery/
// HKEY_LOCAL_MACHINE. A key \A\B\C is the file A/B/C.reg below it.
std::filesystem::path settingsRoot();
