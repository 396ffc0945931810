#pragma once

#include "result/FieldKind.h"

#include <vector>

// The fields the journal result must deliver, in declared order.
const std::vector<FieldDecl>& journalFields();
