#include "logic/Components.h"

#include <charconv>

namespace setup {

const std::array<Component, kComponentCount> kComponents = {{
    {"Warehouse (*.mdb)", "PDM Warehouse.mdb", "Warehouse com temas de exemplo", 5},
    {"Simbologia (*.fsm)", "PDM Simbologia.fsm", "Ficheiro de simbologia FSM contendo a simbologia",
     4},
    {"Biblioteca (*.mdb)", "PDM Biblioteca.mdb", "Biblioteca de símbolos", 5},
    {"Documentação (*.pdf)", "PDM Simbologia.pdf", "Documentação de apoio", 5},
}};

size_t ComponentByLabel(std::string_view label) {
    for (size_t i = 0; i < kComponentCount; ++i) {
        if (kComponents[i].label == label) return i;
    }
    return kComponentCount;
}

std::string SizeText(std::uintmax_t bytes, std::string_view decimalSeparator) {
    const double megabytes = static_cast<double>(bytes) / 1024.0 / 1024.0;
    // to_chars writes "." whatever the process locale; the user reads their own separator.
    char buffer[64];
    char* end =
        std::to_chars(buffer, buffer + sizeof buffer, megabytes, std::chars_format::fixed, 2).ptr;
    std::string text(buffer, end);
    text.replace(text.find('.'), 1, decimalSeparator);
    return text + "MB";
}

std::string InfoText(const Component& component, std::string_view sizeText) {
    std::string text(component.description);
    for (int i = 0; i < component.lineBreaks; ++i) text += "\r\n";
    text += "Este componente ocupa ";
    text += sizeText;
    return text;
}

}  // namespace setup
