#pragma once
// Where each window of the client was, per user and application: a cache loaded at open,
// read and updated by the windows, and written back at close.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Service.h"
#include "kvl/Export.h"

namespace kvl::services {

class KVL_API WindowPositions : public Service {
  public:
    struct Position {
        std::string form;
        int32_t left = 0;
        int32_t top = 0;
        int16_t width = 0;
        int16_t height = 0;
        int16_t state = 0;
        std::string obs;
        std::string grid;
        bool changed = false;
    };

    void Load(Runner& run, kvlSERV& s) override;
    void Save(Runner& run, const kvlSERV& s) override;
    void Clear() override { cache_.clear(); }

    // The window's entry; null when it has none.
    const Position* Find(std::string_view form) const;
    // Replaces the entry of p.form, or adds it.
    void Put(Position p);
    // Writes the changed entries, each record's delete and insert together: one record per
    // transaction, or ten per transaction in one batch where the server takes batches.
    void Write(Runner& run, const kvlSERV& s, bool oneByOne);
    // Reads the stored record of form into the entry of previous (else of form); false when
    // the table has none.
    bool Refresh(Runner& run, const kvlSERV& s, const std::string& form,
                 const std::optional<std::string>& previous);

  private:
    std::vector<Position> cache_;
    Position* Entry(std::string_view form);
};

}  // namespace kvl::services
