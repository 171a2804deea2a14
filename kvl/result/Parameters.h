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

  private:
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

    std::vector<Slot> slots_;
};

}  // namespace kvl
