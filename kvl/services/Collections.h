#pragma once
// The application's table and list collections, by number (entry 0 is never filled): read
// from the catalogues of the client's database, with the SQL they store rewritten to name
// the tables where they live.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Service.h"
#include "kvl/Export.h"

namespace kvl {
class Language;
class ProgressForm;
}  // namespace kvl

namespace kvl::services {

class KVL_API Collections : public Service {
  public:
    struct Table {
        std::string loc;
        std::string tit;
        int16_t ntit = 0;
        std::string lst;
        std::string lstSql;
    };
    struct List {
        std::string tit;
        std::string sql;
    };

    Collections() { Clear(); }
    void Clear() override;

    struct LoadOptions {
        ProgressForm* form = nullptr;
        Language* language = nullptr;
        bool tables = true;
        bool lists = true;
        std::string company;                // the locations' company (DBActual)
        std::optional<std::string> mother;  // the mother database (DBMãe)
    };
    // Reads the catalogues asked for in one batch after the client's pending text, and
    // replaces the collections read.
    void Load(Runner& run, const kvlSERV& s, const LoadOptions& o);

    // Text with "from @" made the FROM clause on table index, and every "&.name" the location
    // of the first table whose location holds that name.
    std::string Rewrite(std::string text, int16_t index) const;

    // Entry index; error 9 outside the collection.
    const Table& TableAt(int16_t index) const;
    const List& ListAt(int16_t index) const;
    int16_t TableUpper() const { return static_cast<int16_t>(tables_.size() - 1); }
    int16_t ListUpper() const { return static_cast<int16_t>(lists_.size() - 1); }

  private:
    std::vector<Table> tables_;
    std::vector<List> lists_;
    void ReadTable(const Row& row, Language* language, const LoadOptions& o);
    void ReadList(const Row& row, Language* language);
};

}  // namespace kvl::services
