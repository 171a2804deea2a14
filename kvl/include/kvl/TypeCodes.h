#pragma once
// Column type codes: the server catalog's user-type numbering.

#include <cstdint>

#include "kvl/Export.h"

namespace kvl {

enum TipoCodigo : int16_t {
    kTipoChar = 1,
    kTipoVarchar = 2,  // also every type without a code of its own
    kTipoBinary = 3,
    kTipoVarbinary = 4,
    kTipoTinyInt = 5,
    kTipoSmallInt = 6,
    kTipoInt = 7,
    kTipoFloat = 8,
    kTipoNumeric = 10,
    kTipoMoney = 11,
    kTipoDatetime = 12,
    kTipoBit = 16,
    kTipoText = 19,
    kTipoSmallMoney = 21,
    kTipoSmallDatetime = 22,
    kTipoReal = 23,
    kTipoDecimal = 24,
    kTipoTimestamp = 80,
};

KVL_API int16_t SqlTipoConverte(int16_t sqlType);
KVL_API bool TipoSeNum(int16_t code);      // numeric, bit included
KVL_API bool TipoSeData(int16_t code);     // datetime and smalldatetime
KVL_API bool TipoSeDecimal(int16_t code);  // decimal
KVL_API bool TipoSeDec(int16_t code);      // numeric with a fractional part

}  // namespace kvl
