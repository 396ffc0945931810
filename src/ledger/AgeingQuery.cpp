#include "AgeingQuery.h"

#include "AgeingColumns.h"
#include "result/CriteriaText.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

std::string describe(const AgeingCriteria& criteria) {
    CriteriaText text;
    text.add("截止日期", criteria.asOf);
    text.add("库龄分段", ageingBandsText(criteria.bands));
    text.addItemCriteria(criteria);
    if (criteria.byBatch)
        text.add("按批次", std::string("是"));
    return text.text();
}

// A definition with the fields and columns it refers to.
struct StoredDefinition {
    StoredDefinition(const AgeingBands& bands, bool byBatch)
        : fields(ageingFields(bands, byBatch)),
          columns(ageingColumns(bands, byBatch)), definition{{"库龄分析", 12, "dbg_ageing", fields,
                                                              columns, kAgeingFrozenColumns},
                                                             ageingStatement,
                                                             describe} {}
    const std::vector<FieldDecl> fields;
    const std::vector<GridColumn> columns;
    const QueryDefinition<AgeingCriteria> definition;
};

} // namespace

const QueryDefinition<AgeingCriteria>& ageingQuery(const AgeingBands& bands, bool byBatch) {
    // One per set of bands asked for; a session asks for few.
    static std::mutex guard;
    static std::map<std::pair<AgeingBands, bool>, std::unique_ptr<StoredDefinition>> stored;
    const std::lock_guard lock(guard);
    std::unique_ptr<StoredDefinition>& entry = stored[{bands, byBatch}];
    if (!entry)
        entry = std::make_unique<StoredDefinition>(bands, byBatch);
    return entry->definition;
}
