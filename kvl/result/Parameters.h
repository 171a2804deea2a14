#pragma once
// The values of a prepared command's "?" markers, held where the driver reads them at
// execution: each TypedValue bound as its own C type and the SQL type it stands for.

#include <cstdint>
#include <string>
#include <vector>

#include "kvl/TypedValue.h"
#include "kvl/odbc/Api.h"

namespace kvl {

class BoundParameters {
  public:
    // Binds values in order on stmt; they stay valid until the next Bind or Clear.
    // Returns the first failure of the driver, or success.
    odbc::Return Bind(odbc::Api& api, Handle stmt, const std::vector<TypedValue>& values);
    void Clear() { slots_.clear(); }

    // One value as the driver reads it: its bytes, their length or kNullData.
    struct Slot {
        int16_t cType = odbc::kCharData;
        int16_t sqlType = odbc::kSqlVarchar;
        uint64_t size = 1;
        int16_t decimals = 0;
        std::string bytes;
        int64_t length = 0;
    };
    static void Fill(Slot& s, const TypedValue& value);

  private:
    std::vector<Slot> slots_;
};

// The values of many executions bound at once as an array of parameter sets, a record per
// set (row-wise binding): each marker's values of one C and SQL type at the same place in
// every record, so the driver runs them all in one call.
class BoundRows {
  public:
    // False, and nothing filled, when the rows differ in length or a marker's values in
    // type (NULLs apart): such rows are run one at a time.
    bool Fill(const std::vector<std::vector<TypedValue>>& rows);
    // Binds the records and makes them the statement's parameter sets; the first failure
    // of the driver (one that takes no arrays among them), or success.
    odbc::Return Bind(odbc::Api& api, Handle stmt);
    // Back to one parameter set and no bindings.
    static void Unbind(odbc::Api& api, Handle stmt);

  private:
    struct Marker {
        BoundParameters::Slot type;  // the type, size and decimals every value is bound as
        size_t offset = 0;           // of its length in the record; its bytes follow
    };

    std::vector<Marker> markers_;
    size_t recordWords_ = 0;         // a record's size, in 8-byte words
    std::vector<uint64_t> records_;  // 8-byte words keep the lengths aligned
    std::vector<uint16_t> status_;
    uint64_t processed_ = 0;
};

}  // namespace kvl
