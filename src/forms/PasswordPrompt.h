#pragma once

#include "settings/ConnectionSettings.h"

#include <optional>
#include <string>

class QWidget;

// Asks for the password of the login that `settings` name, which is not stored; none when
// the user closes the question.
std::optional<std::string> askForPassword(QWidget* owner, const ConnectionSettings& settings);
