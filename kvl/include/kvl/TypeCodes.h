#pragma once
// Column type codes: the server catalog's user-type numbering.

#include <cstdint>

namespace kvl {

int16_t SqlTipoConverte(int16_t sqlType);
bool TipoSeNum(int16_t code);      // numeric, bit included
bool TipoSeData(int16_t code);     // datetime and smalldatetime
bool TipoSeDecimal(int16_t code);  // decimal
bool TipoSeDec(int16_t code);      // numeric with a fractional part

}  // namespace kvl
