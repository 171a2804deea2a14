#include "platform/OdbcLibrary.h"

#include <optional>

#include "kvl/Error.h"
#include "kvl/Text.h"
#include "platform/Odbc.h"

namespace setup {

namespace {

constexpr std::string_view kFilePlaceholder = "%FILE%";
constexpr std::string_view kUriPlaceholder = "%URI%";

std::string FileUri(std::string_view file) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : file) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') ||
                           std::string_view("-._~/").find(c) != std::string_view::npos;
        if (plain) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 0xF];
        }
    }
    return uri;
}

std::string BracedIfNeeded(std::string value) {
    const bool needsBraces = value.find_first_of(";{}=") != std::string::npos ||
                             (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (needsBraces) value = "{" + kvl::StrSubstitui(value, "}", "}}", true) + "}";
    return value;
}

// SQLite keeps each value in its own type, whatever its column declares, and tells it by
// typeof(); other databases store a column's values in its type.
bool KeepsEachValuesType(const odbc::Connection& connection) {
    std::string name;
    const kvl::odbc::Return rc =
        connection.api().GetInfo(connection.get(), kvl::odbc::kInfoDbmsName, name);
    return kvl::odbc::Succeeded(rc) && kvl::Minusculas(name).find("sqlite") != std::string::npos;
}

// The type a value is stored in, as typeof() names it, for each key of a row: where the
// database keeps each value in its own type, whatever its column declares (SQLite).
using StoredTypes = std::vector<std::string>;

// The condition that matches a key only as a value stored in that type: an untyped column
// converts nothing, so a text bound against an integer stored there would never match, while a
// CAST alone lends its type to the column and so would also match the text '2' for 2.
std::string StoredAs(const std::string& key, const std::string& storedType) {
    std::string_view type = "TEXT";
    if (storedType == "integer") type = "INTEGER";
    if (storedType == "real") type = "REAL";
    if (storedType == "blob") type = "BLOB";
    return "(" + key + " = CAST(? AS " + std::string(type) + ") AND typeof(" + key + ") = '" +
           kvl::Minusculas(type) + "')";
}

// The key columns' condition: a NULL key is matched with IS NULL, any other as it is stored
// when its storage type is known, else bound with its column's type, so a strict server
// compares a number with a number.
std::string KeyCondition(const std::vector<std::string>& keys, const std::vector<odbc::Value>& row,
                         const std::vector<kvl::odbc::ColumnDescription>& columns,
                         const StoredTypes* stored, std::vector<kvl::odbc::Parameter>& parameters) {
    std::string condition;
    for (size_t i = 0; i < keys.size(); ++i) {
        condition += i == 0 ? "" : " AND ";
        if (!row[i]) {
            condition += keys[i] + " IS NULL";
            continue;
        }
        if (stored) {
            condition += StoredAs(keys[i], (*stored)[i]);
            parameters.push_back({row[i], kvl::odbc::kSqlVarchar});
        } else {
            condition += keys[i] + " = ?";
            parameters.push_back({row[i], columns[i].sqlType});
        }
    }
    return condition;
}

// "(StyleID=1, Seq=NULL)": a row by its key, for a message.
std::string KeyText(const std::vector<std::string>& keys, const std::vector<odbc::Value>& row) {
    std::string text;
    for (size_t i = 0; i < keys.size(); ++i) {
        text += (i == 0 ? "(" : ", ") + keys[i] + "=" + row[i].value_or("NULL");
    }
    return text + ")";
}

// A failure to connect names the library.
std::shared_ptr<odbc::Connection> Connect(const std::string& connectionText,
                                          const std::string& name,
                                          std::shared_ptr<kvl::odbc::Api> api) {
    try {
        return std::make_shared<odbc::Connection>(connectionText, std::move(api));
    } catch (const kvl::Error& error) {
        throw kvl::Error(error.number(), "Não foi possível abrir a biblioteca de símbolos " + name +
                                             " (" + error.description() + ")");
    }
}

// The table a "Select ... From Table" command reads.
std::string TableOf(const std::string& command) {
    const std::string lower = kvl::Minusculas(command);
    size_t from = lower.find(" from ");
    if (from == std::string::npos) throw kvl::Error(kvl::kInvalidCall, "No table in: " + command);
    from += 6;
    while (from < command.size() && command[from] == ' ') ++from;
    return command.substr(from, command.find(' ', from) - from);
}

// The command with the identifying columns selected first.
std::string WithKeyColumns(const std::string& command, const std::vector<std::string>& keys) {
    constexpr std::string_view kSelect = "select ";
    if (!kvl::Minusculas(command).starts_with(kSelect)) {
        throw kvl::Error(kvl::kInvalidCall, "Not a query: " + command);
    }
    std::string columns;
    for (const std::string& key : keys) columns += key + ", ";
    return command.substr(0, kSelect.size()) + columns + command.substr(kSelect.size());
}

class OdbcRowSet : public RowSet {
  public:
    OdbcRowSet(std::shared_ptr<odbc::Connection> connection, const std::string& command)
        : connection_(std::move(connection)), table_(TableOf(command)) {
        keys_ = odbc::RowIdentifier(*connection_, table_);
        if (keys_.empty()) {
            throw kvl::Error(odbc::kCallFailed,
                             "As linhas da tabela " + table_ + " não têm identificador");
        }
        ReadRows(WithKeyColumns(command, keys_));
        position_ = result_.rows.empty() ? kBeforeStart : 0;
    }

    bool AtEnd() const override { return position_ >= result_.rows.size(); }
    bool BeforeStart() const override { return position_ == kBeforeStart; }
    // Moving abandons an edit that was not written back.
    void MoveFirst() override {
        edited_.reset();
        position_ = result_.rows.empty() ? kBeforeStart : 0;
    }
    void MoveNext() override {
        CurrentRow();
        edited_.reset();
        ++position_;
    }
    std::string Value(std::string_view field) const override {
        return CurrentRow()[FieldIndex(field)].value_or("");
    }
    void Edit() override { edited_ = CurrentRow(); }
    void SetValue(std::string_view field, const std::string& value) override {
        if (!edited_) throw kvl::Error(kvl::kInvalidCall, "The row is not being edited");
        (*edited_)[FieldIndex(field)] = value;
    }
    void Update() override;

  private:
    static constexpr size_t kBeforeStart = static_cast<size_t>(-1);

    // The rows, with their keys' storage types read first and set aside where the database
    // keeps each value in its own type.
    void ReadRows(const std::string& command) {
        if (!KeepsEachValuesType(*connection_)) {
            result_ = odbc::Query(*connection_, command);
            return;
        }
        std::vector<std::string> types;
        for (const std::string& key : keys_) types.push_back("typeof(" + key + ")");
        result_ = odbc::Query(*connection_, WithKeyColumns(command, types));
        const auto typeColumns = static_cast<std::ptrdiff_t>(keys_.size());
        for (std::vector<odbc::Value>& row : result_.rows) {
            StoredTypes& rowTypes = stored_.emplace_back();
            for (auto type = row.begin(); type != row.begin() + typeColumns; ++type) {
                rowTypes.push_back(kvl::Minusculas(type->value_or("null")));
            }
            row.erase(row.begin(), row.begin() + typeColumns);
        }
        result_.columns.erase(result_.columns.begin(), result_.columns.begin() + typeColumns);
    }

    const std::vector<odbc::Value>& CurrentRow() const {
        if (position_ >= result_.rows.size()) throw kvl::Error(kvl::kInvalidCall, "No current row");
        return result_.rows[position_];
    }

    // Fields are looked up after the identifying columns, ignoring letter case.
    size_t FieldIndex(std::string_view field) const {
        const std::string sought = kvl::Minusculas(field);
        for (size_t i = keys_.size(); i < result_.columns.size(); ++i) {
            if (kvl::Minusculas(result_.columns[i].name) == sought) return i;
        }
        throw kvl::Error(kvl::kSubscriptOutOfRange, "No field " + std::string(field));
    }

    // Runs the UPDATE of the row; a failure names the row.
    int64_t Write(const std::string& command, const std::vector<kvl::odbc::Parameter>& parameters,
                  const std::vector<odbc::Value>& row) const {
        try {
            return odbc::Execute(*connection_, command, parameters);
        } catch (const kvl::Error& error) {
            throw kvl::Error(error.number(), "Não foi possível gravar a linha " +
                                                 KeyText(keys_, row) + " da tabela " + table_ +
                                                 " (" + error.description() + ")");
        }
    }

    std::shared_ptr<odbc::Connection> connection_;
    std::string table_;
    std::vector<std::string> keys_;
    odbc::Result result_;
    size_t position_ = kBeforeStart;
    std::vector<StoredTypes> stored_;  // per row; empty where the database does not tell them
    std::optional<std::vector<odbc::Value>> edited_;
};

void OdbcRowSet::Update() {
    if (!edited_) throw kvl::Error(kvl::kInvalidCall, "The row is not being edited");
    const std::vector<odbc::Value>& row = CurrentRow();
    std::string assignments;
    std::vector<kvl::odbc::Parameter> parameters;
    for (size_t i = keys_.size(); i < row.size(); ++i) {
        if ((*edited_)[i] == row[i]) continue;
        assignments += (assignments.empty() ? "" : ", ") + result_.columns[i].name + " = ?";
        parameters.push_back({(*edited_)[i], result_.columns[i].sqlType});
    }
    if (!assignments.empty()) {
        const std::string command =
            "UPDATE " + table_ + " SET " + assignments + " WHERE " +
            KeyCondition(keys_, row, result_.columns,
                         stored_.empty() ? nullptr : &stored_[position_], parameters);
        if (Write(command, parameters, row) != 1) {
            throw kvl::Error(kRowNotFoundAgain, "A linha " + KeyText(keys_, row) + " da tabela " +
                                                    table_ +
                                                    " já não existe: foi mudada ou apagada "
                                                    "entretanto");
        }
    }
    result_.rows[position_] = std::move(*edited_);
    edited_.reset();
}

}  // namespace

std::string LibraryConnectionText(std::string_view connectionTemplate, std::string_view file) {
    const std::string withUri =
        kvl::StrSubstitui(connectionTemplate, kUriPlaceholder, FileUri(file), true);
    return kvl::StrSubstitui(withUri, kFilePlaceholder, BracedIfNeeded(std::string(file)), true);
}

OdbcSymbolLibrary::OdbcSymbolLibrary(const std::string& connectionText, const std::string& name,
                                     std::shared_ptr<kvl::odbc::Api> api)
    : connection_(Connect(connectionText, name, std::move(api))) {}

OdbcSymbolLibrary::~OdbcSymbolLibrary() = default;

std::unique_ptr<RowSet> OdbcSymbolLibrary::OpenRecordset(const std::string& command) {
    return std::make_unique<OdbcRowSet>(connection_, command);
}

}  // namespace setup
