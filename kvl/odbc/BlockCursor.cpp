#include "kvl/odbc/BlockCursor.h"

#include <algorithm>

namespace kvl::odbc {

void BlockCursor::Bind(const std::vector<ColumnPlan>& plan, int64_t rowsPerBlock,
                       uint32_t getData) {
    columns_.assign(plan.size(), {});
    // A value may always turn out longer than its buffer, and GetData must then reach it.
    const bool bindAny = (getData & kGetDataAnyColumn) && (getData & kGetDataBound);
    int64_t rowBytes = 0;
    for (size_t i = 0; i < plan.size(); ++i) {
        columns_[i].plan = plan[i];
        columns_[i].bound = bindAny && plan[i].room > 0 && plan[i].room <= kWidestBound;
        if (columns_[i].bound) rowBytes += plan[i].room + int64_t{sizeof(int64_t)};
    }
    int64_t rows = std::clamp<int64_t>(kMaxBlockBytes / std::max<int64_t>(rowBytes, 1), 1,
                                       std::max<int64_t>(rowsPerBlock, 1));
    rows_ = (getData & kGetDataBlock) && BlocksAccepted(rows) ? rows : 1;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].bound) BindColumn(static_cast<uint16_t>(i + 1), columns_[i]);
    }
}

bool BlockCursor::BlocksAccepted(int64_t rows) {
    if (rows <= 1) return false;
    Api& api = cursor_.api();
    status_.assign(static_cast<size_t>(rows), kRowError);
    blocks_ = true;  // whatever part was set is undone
    if (Succeeded(api.SetStmtInteger(cursor_.stmt(), kAttrRowArraySize, rows)) &&
        Succeeded(api.SetStmtPointer(cursor_.stmt(), kAttrRowStatusPtr, status_.data())) &&
        Succeeded(api.SetStmtPointer(cursor_.stmt(), kAttrRowsFetchedPtr, &fetched_)))
        return true;
    OneRowPerFetch();
    return false;
}

void BlockCursor::OneRowPerFetch() {
    if (!blocks_) return;
    Api& api = cursor_.api();
    api.SetStmtInteger(cursor_.stmt(), kAttrRowArraySize, 1);
    api.SetStmtPointer(cursor_.stmt(), kAttrRowStatusPtr, nullptr);
    api.SetStmtPointer(cursor_.stmt(), kAttrRowsFetchedPtr, nullptr);
    blocks_ = false;
}

void BlockCursor::BindColumn(uint16_t n, Column& c) {
    c.data.resize(static_cast<size_t>(rows_ * c.plan.room));
    c.lengths.resize(static_cast<size_t>(rows_));
    c.bound = Succeeded(cursor_.api().BindCol(cursor_.stmt(), n, c.plan.cType, c.data.data(),
                                              c.plan.room, c.lengths.data()));
    if (!c.bound) {
        c.data = {};
        c.lengths = {};
    }
}

Fetched BlockCursor::Next() {
    if (failed_) return Fetched::kFailed;
    if (++row_ < deliverable_) return Fetched::kRow;
    if (rowFailed_) {
        failed_ = true;
        return Fetched::kFailed;
    }
    return ended_ ? Fetched::kEnd : FetchBlock();
}

Fetched BlockCursor::FetchBlock() {
    Return rc = kSuccess;
    switch (cursor_.Fetch(rc)) {
        case Fetched::kFailed:
            return Fail(rc);
        case Fetched::kEnd:
            ended_ = true;
            return Fetched::kEnd;
        case Fetched::kRow:
            break;
    }
    row_ = 0;
    positioned_ = 0;
    deliverable_ = blocks_ ? std::min<uint64_t>(fetched_, status_.size()) : 1;
    if (rc == kSuccessWithInfo && blocks_) {
        // The rows before the first that failed are delivered; the reading fails at it.
        auto end = status_.begin() + static_cast<long>(deliverable_);
        auto failedRow = std::find(status_.begin(), end, kRowError);
        if (failedRow != end) {
            deliverable_ = static_cast<uint64_t>(failedRow - status_.begin());
            rowFailed_ = true;
            failureCode_ = kError;
            failure_ = cursor_.Diagnostics();
        }
    }
    if (deliverable_ > 0) return Fetched::kRow;
    if (rowFailed_) return Next();
    // A success without a row is the end too.
    ended_ = true;
    return Fetched::kEnd;
}

Fetched BlockCursor::Fail(Return rc) {
    failed_ = true;
    failureCode_ = rc;
    failure_ = cursor_.Diagnostics();
    return Fetched::kFailed;
}

ValueRead BlockCursor::ReadWhole(uint16_t column, std::string& value) {
    ValueRead r;
    if (rows_ > 1 && positioned_ != row_ + 1) {
        r.rc = cursor_.api().SetPos(cursor_.stmt(), row_ + 1);
        if (!Succeeded(r.rc)) {
            Fail(r.rc);
            return r;
        }
        positioned_ = row_ + 1;
    }
    r = cursor_.ReadWhole(column, value, columns_[column - 1].plan.cType);
    if (!Succeeded(r.rc)) Fail(r.rc);
    return r;
}

void BlockCursor::Unbind() {
    if (std::any_of(columns_.begin(), columns_.end(), [](const Column& c) { return c.bound; }))
        cursor_.api().UnbindColumns(cursor_.stmt());
    for (Column& c : columns_) c.bound = false;
    OneRowPerFetch();
    // Nothing more is read through the statement.
    deliverable_ = 0;
    ended_ = true;
}

}  // namespace kvl::odbc
