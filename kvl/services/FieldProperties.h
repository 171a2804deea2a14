#pragma once
// The cache of field properties: records derived from catalog rows, in the order loaded.

#include <cstdint>
#include <string>
#include <vector>

#include "Service.h"
#include "kvl/Export.h"

namespace kvl {
class RowSource;
}

namespace kvl::services {

class KVL_API FieldProperties : public Service {
  public:
    struct Field {
        int32_t tableId = 0;
        std::string table;
        std::string name;
        int16_t type = 0;
        int32_t size = 0;
        bool numeric = false;
        int16_t nint = 0;
        int16_t ndec = 0;
        double max = 0;
        double min = 0;
        int32_t width = 0;
        std::string format;
        bool date = false;
    };

    void Clear() override { fields_.clear(); }
    // Appends a record for every row of rows (columns name, type code, length, precision,
    // scale, table id, table name). A conversion error stops it, keeping what came before.
    void Append(RowSource& rows);
    const std::vector<Field>& fields() const { return fields_; }

  private:
    std::vector<Field> fields_;
};

}  // namespace kvl::services
