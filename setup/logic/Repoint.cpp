#include "logic/Repoint.h"

#include "kvl/Text.h"

namespace setup {

namespace {

// Field index (0-based) of a ";"-separated list; "" beyond the last field.
std::string_view Field(std::string_view list, size_t index) {
    for (size_t i = 0; i < index; ++i) {
        const size_t separator = list.find(';');
        if (separator == std::string_view::npos) return {};
        list.remove_prefix(separator + 1);
    }
    return list.substr(0, list.find(';'));
}

bool NamesSymbologyFile(std::string_view value) {
    return kvl::Minusculas(value).find(".fsm") != std::string::npos;
}

void RepointSymbology(SymbolLibrary& library, const std::string& symbologyFile) {
    std::unique_ptr<RowSet> rows = library.OpenRecordset(std::string(kSourceCommand));
    if (rows->Empty()) return;
    for (rows->MoveFirst(); !rows->AtEnd(); rows->MoveNext()) {
        if (!NamesSymbologyFile(rows->Value("PropertyValue"))) continue;
        rows->Edit();
        const std::string value = rows->Value("PropertyValue");
        rows->SetValue("PropertyValue", RepointedPropertyValue(value, symbologyFile));
        rows->Update();
    }
}

void RepointWarehouse(SymbolLibrary& library, const std::string& warehouseFile) {
    std::unique_ptr<RowSet> rows = library.OpenRecordset(std::string(kConnectionsCommand));
    if (rows->Empty()) return;
    rows->MoveFirst();
    rows->Edit();
    rows->SetValue("Location", warehouseFile);
    rows->Update();
}

}  // namespace

std::string RepointedPropertyValue(std::string_view oldValue, std::string_view symbologyFile) {
    return std::string(symbologyFile) + ";" + std::string(Field(oldValue, 1));
}

void RepointLibrary(SymbolLibrary& library, const std::string& symbologyFile,
                    const std::string& warehouseFile) {
    RepointSymbology(library, symbologyFile);
    RepointWarehouse(library, warehouseFile);
}

}  // namespace setup
