#include "JournalQuery.h"

#include "JournalColumns.h"
#include "JournalFields.h"

const QueryDefinition<JournalCriteria>& journalQuery() {
    static const QueryDefinition<JournalCriteria> query{
        {"出入库流水帐", 12, "dbg_crinfo", journalFields(), journalColumns(), 0}, journalStatement};
    return query;
}
