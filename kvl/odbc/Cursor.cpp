#include "kvl/odbc/Cursor.h"

#include <algorithm>

#include "kvl/odbc/Handles.h"

namespace kvl::odbc {

Return Cursor::Describe(std::vector<ColumnDescription>& columns) const {
    columns.clear();
    int16_t count = 0;
    Return rc = api_->NumResultCols(stmt_, count);
    if (!Succeeded(rc)) return rc;
    columns.resize(count > 0 ? static_cast<size_t>(count) : 0);
    for (size_t i = 0; i < columns.size(); ++i) {
        rc = api_->DescribeCol(stmt_, static_cast<uint16_t>(i + 1), columns[i]);
        if (!Succeeded(rc)) return rc;
    }
    return kSuccess;
}

Fetched Cursor::Fetch(Return& rc) const {
    rc = api_->Fetch(stmt_);
    if (Succeeded(rc)) return Fetched::kRow;
    return rc == kNoData ? Fetched::kEnd : Fetched::kFailed;
}

ValueRead Cursor::ReadWhole(uint16_t column, int16_t cType, char* area, int64_t room,
                            std::string& value) const {
    // Text ends with a NUL the driver writes into the room; bytes do not.
    const int64_t ending = cType == kBinaryData ? 0 : 1;
    ValueRead r;
    int64_t k = 0;
    r.rc = api_->GetData(stmt_, column, cType, area, room, k);
    if (!Succeeded(r.rc) || k == kNullData) {
        value.clear();
        r.isNull = Succeeded(r.rc);
        // A value already read to its end reads as nothing more, not as a failure.
        if (r.rc == kNoData) r.rc = kSuccess;
        return r;
    }
    const int64_t fits = room - ending;
    const bool longer = k == kNoTotal || k > fits;
    auto got = static_cast<size_t>(longer ? fits : std::max<int64_t>(k, 0));
    value.assign(area, got);
    if (r.rc == kSuccess || !longer) return r;
    // Longer than the room: the rest is read on, straight into the value, until it ends.
    for (int64_t left = k == kNoTotal ? 0 : k - static_cast<int64_t>(got);;) {
        size_t at = value.size();
        size_t more = left > 0 ? static_cast<size_t>(left) : std::max<size_t>(at, 4096);
        // A text's ending NUL lands on the string's own terminator.
        value.resize(at + more);
        r.rc = api_->GetData(stmt_, column, cType, value.data() + at,
                             static_cast<int64_t>(more) + ending, k);
        got = !Succeeded(r.rc) ? 0 : k >= 0 ? std::min(static_cast<size_t>(k), more) : more;
        value.resize(at + got);
        if (r.rc == kNoData) r.rc = kSuccess;
        if (r.rc != kSuccessWithInfo || (k >= 0 && static_cast<size_t>(k) <= more)) return r;
        left = k >= 0 ? k - static_cast<int64_t>(got) : 0;
    }
}

ValueRead Cursor::ReadWhole(uint16_t column, std::string& value, int16_t cType) const {
    char area[1024];
    return ReadWhole(column, cType, area, sizeof area, value);
}

std::vector<Diagnostic> Cursor::Diagnostics() const {
    return odbc::Diagnostics(*api_, 0, 0, stmt_);
}

}  // namespace kvl::odbc
