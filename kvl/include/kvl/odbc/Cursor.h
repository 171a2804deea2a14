#pragma once
// The one way rows are read from a statement, for every deliverable: describing the
// columns of its current result, fetching, reading a value whole, and reading the
// diagnostics of a failure. Two rules live here and nowhere else: a value arrives whole,
// however long (read on in pieces past the first read), and a fetch that fails is a
// failure, never the end of the rows.

#include <cstdint>
#include <string>
#include <vector>

#include "kvl/Export.h"
#include "kvl/odbc/Api.h"

namespace kvl::odbc {

// What reading one value gave.
struct ValueRead {
    Return rc = kSuccess;  // the driver's failure when not Succeeded
    bool isNull = false;
};

// The outcome of a fetch: a row, the end of the rows, or a failure (rc says which).
enum class Fetched { kRow, kEnd, kFailed };

class KVL_API Cursor {
  public:
    Cursor(Api& api, Handle stmt) : api_(&api), stmt_(stmt) {}

    Api& api() const { return *api_; }
    Handle stmt() const { return stmt_; }

    // The columns of the statement's current result; none for a command without rows.
    Return Describe(std::vector<ColumnDescription>& columns) const;

    // Fetches the next row. The end of the rows is kNoData only; every other failure is a
    // failure, never taken for the end.
    Fetched Fetch(Return& rc) const;

    // Reads the value of column (from 1) in the current row whole, as text (cType
    // kCharData) or as bytes (kBinaryData), into value. The first piece lands in area, room
    // bytes, which the caller keeps between rows; a longer value is read on in pieces straight
    // into value until it ends. On a failure value holds what was read before it.
    ValueRead ReadWhole(uint16_t column, int16_t cType, char* area, int64_t room,
                        std::string& value) const;
    // The same with an area of its own, for readers that keep none.
    ValueRead ReadWhole(uint16_t column, std::string& value, int16_t cType = kCharData) const;

    // Every diagnostic record of the statement, in order.
    std::vector<Diagnostic> Diagnostics() const;

  private:
    Api* api_;
    Handle stmt_;
};

}  // namespace kvl::odbc
