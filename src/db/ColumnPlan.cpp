#include "ColumnPlan.h"

#include "result/DbError.h"

DbError incompatibleField(const FieldDecl& field, FieldKind actual) {
    return DbError("field " + field.name + " holds " + std::string(fieldKindName(actual)) +
                   ", declared " + std::string(fieldKindName(field.kind)));
}

ResultSet ColumnPlan::makeEmptyResult() const {
    std::vector<ResultColumn> columns;
    columns.reserve(targetNames.size());
    for (std::size_t i = 0; i < targetNames.size(); ++i)
        columns.emplace_back(targetNames[i], targetKinds[i]);
    return ResultSet(std::move(columns));
}

ColumnPlan planColumns(const std::vector<SourceColumn>& source,
                       std::span<const FieldDecl> declared) {
    ColumnPlan plan;
    plan.targetOf.assign(source.size(), -1);
    if (declared.empty()) {
        for (std::size_t i = 0; i < source.size(); ++i) {
            plan.targetOf[i] = static_cast<int>(i);
            plan.targetNames.push_back(source[i].name);
            plan.targetKinds.push_back(source[i].kind);
        }
        return plan;
    }
    plan.fieldsDeclared = true;
    for (std::size_t d = 0; d < declared.size(); ++d) {
        const FieldDecl& field = declared[d];
        std::size_t s = 0;
        while (s < source.size() && !sameFieldName(source[s].name, field.name))
            ++s;
        if (s == source.size())
            throw DbError("field not found in the result: " + field.name);
        if (source[s].kindKnown && !isCompatibleKind(source[s].kind, field.kind))
            throw incompatibleField(field, source[s].kind);
        plan.targetOf[s] = static_cast<int>(d);
        plan.targetNames.push_back(field.name);
        plan.targetKinds.push_back(field.kind);
    }
    return plan;
}
