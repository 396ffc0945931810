#pragma once

#include "OdbcApi.h"
#include "result/ResultSet.h"

#include <string>

// One value as the driver put it into a bound buffer, in the C type chosen for the column's
// kind (see OdbcResultReader): `element` is the value's room of `elementBytes`, `indicator`
// the driver's length or SQL_NULL_DATA; `fromText`: text filling a column of another kind.
struct OdbcBufferedValue {
    const unsigned char* element = nullptr;
    SQLLEN elementBytes = 0;
    SQLLEN indicator = 0;
    bool fromText = false;
};

// Appends the value to `column`. A value that is not of the column's kind, or whose length
// does not fit its room (a driver that cut it or did not know it), throws DbError naming the
// field; nothing is read beyond the room. `scratch` is reused between values.
void appendOdbcValue(ResultColumn& column, const OdbcBufferedValue& value, std::string& scratch);
