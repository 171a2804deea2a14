#pragma once
// The symbol library as the installer changes it: updatable row sets over commands.

#include <memory>
#include <string>
#include <string_view>

namespace setup {

// Rows of one command, walked in their own order. Values are texts.
class RowSet {
  public:
    virtual ~RowSet() = default;

    virtual bool AtEnd() const = 0;
    virtual bool BeforeStart() const = 0;
    virtual void MoveFirst() = 0;
    virtual void MoveNext() = 0;

    // The current row's value of a field.
    virtual std::string Value(std::string_view field) const = 0;
    // Begins changing the current row; SetValue changes it, Update stores it.
    virtual void Edit() = 0;
    virtual void SetValue(std::string_view field, const std::string& value) = 0;
    virtual void Update() = 0;

    // Both flags are set only when the command gave no row.
    bool Empty() const { return AtEnd() && BeforeStart(); }
};

class SymbolLibrary {
  public:
    virtual ~SymbolLibrary() = default;
    // An updatable row set over the rows of a SELECT command.
    virtual std::unique_ptr<RowSet> OpenRecordset(const std::string& command) = 0;
};

}  // namespace setup
