#include "BlockOdbc.h"

#include <algorithm>

namespace kvlbench {

bool BlockReader::Execute(const std::string& query) {
    std::string q = query;
    if (!SQL_SUCCEEDED(SQLExecDirect(stmt_, reinterpret_cast<SQLCHAR*>(q.data()), SQL_NTS)))
        return false;
    SQLSMALLINT count = 0;
    SQLNumResultCols(stmt_, &count);
    columns_.assign(static_cast<size_t>(count), {});
    SQLSetStmtAttr(stmt_, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRows), 0);
    SQLSetStmtAttr(stmt_, SQL_ATTR_ROWS_FETCHED_PTR, &fetched_, 0);
    for (SQLUSMALLINT n = 1; n <= count; ++n) {
        Column& c = columns_[n - 1];
        SQLColAttribute(stmt_, n, SQL_DESC_DISPLAY_SIZE, nullptr, 0, nullptr, &c.width);
        c.width = (c.width > 0 ? c.width : 0) + 1;
        c.data.resize(static_cast<size_t>(c.width) * kRows);
        c.lengths.resize(kRows);
        SQLBindCol(stmt_, n, SQL_C_CHAR, c.data.data(), c.width, c.lengths.data());
    }
    return true;
}

SQLULEN BlockReader::Fetch() {
    return SQL_SUCCEEDED(SQLFetch(stmt_)) ? fetched_ : 0;
}

std::string_view BlockReader::Value(SQLULEN row, SQLUSMALLINT n) const {
    const Column& c = columns_[n - 1];
    SQLLEN length = c.lengths[row];
    if (length == SQL_NULL_DATA) return {};
    // A value cut to its room reads cut: the check of the text before timing tells.
    length = std::min(length, c.width - 1);
    return {c.data.data() + row * static_cast<SQLULEN>(c.width), static_cast<size_t>(length)};
}

void BlockReader::Close() {
    SQLFreeStmt(stmt_, SQL_CLOSE);
    SQLFreeStmt(stmt_, SQL_UNBIND);
    SQLSetStmtAttr(stmt_, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
    SQLSetStmtAttr(stmt_, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
}

}  // namespace kvlbench
