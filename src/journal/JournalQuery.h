#pragma once

#include "JournalStatement.h"
#include "result/QueryDefinition.h"

// The receipt and issue journal of the window "出入库流水帐".
const QueryDefinition<JournalCriteria>& journalQuery();
