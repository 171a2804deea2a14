#pragma once
// One column of a result set: its description and its value in the current row.

#include <cstdint>
#include <string>

#include "kvl/Variant.h"

namespace kvl {

struct Coluna {
    std::string Nome;
    Variant Tipo;  // Empty until the column is analysed
    int32_t NBytes = 0;
    int32_t Len = 0;
    int16_t NInt = 0;
    int16_t NDec = 0;
    double Max = 0;
    double Min = 0;
    bool SeTipoNum = false;
    bool SeTipoDec = false;
    // The bytes of the first read of each value, sized to what the column's values need;
    // a longer value is read on in pieces and still arrives whole.
    int32_t Leitura = 0;
    Variant Valor;
    bool SeNull = false;
};

}  // namespace kvl
