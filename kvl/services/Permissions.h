#pragma once
// Per-option rights of the connected user and of the user's database group, read from the
// permission table, merged, and answered from memory.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "Service.h"
#include "kvl/Export.h"

namespace kvl::services {

class KVL_API Permissions : public Service {
  public:
    // The six rights in the order of the letters a, c, n, g, e, l.
    using Rights = std::array<bool, 6>;

    void Load(Runner& run, kvlSERV& s) override;
    void Clear() override;

    // Reads the rights of s.UID and of its group (written to s.Grupo) for database, then
    // merges them; nothing happens without a permission table.
    void LoadFor(Runner& run, kvlSERV& s, std::string_view database);
    // The user's own grant or deny stands, the group fills what the user's row leaves open,
    // and options only the group has join.
    void Simplify();
    // The user's (or the group's) rights of the option; false when there is no entry.
    bool OfUser(std::string_view code, Rights& out) const;
    bool OfGroup(std::string_view code, Rights& out) const;

  private:
    struct Entry {
        std::string code;  // lower case
        Rights grants{};
        Rights denies{};
    };
    std::vector<Entry> user_;
    std::vector<Entry> group_;
    void Read(Runner& run, const kvlSERV& s, std::string_view owner, std::string_view database,
              std::vector<Entry>& into);
};

}  // namespace kvl::services
