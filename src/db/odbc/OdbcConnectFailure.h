#pragma once

#include "OdbcText.h"
#include "db/ConnectError.h"

#include <vector>

// What the driver's diagnostics of a failed connection say of its cause: FreeTDS by its
// message numbers, the Microsoft drivers by their texts.
ConnectFailure connectFailureOf(const std::vector<OdbcDiagnostic>& diagnostics);
