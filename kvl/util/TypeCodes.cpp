#include "kvl/TypeCodes.h"

#include "kvl/odbc/Api.h"

namespace kvl {

int16_t SqlTipoConverte(int16_t sqlType) {
    using namespace odbc;
    switch (sqlType) {
        case kSqlChar:
            return kTipoChar;
        case kSqlLongVarchar:
            return kTipoText;
        case kSqlBinary:
            return kTipoBinary;
        case kSqlVarBinary:
            return kTipoVarbinary;
        case kSqlTinyInt:
            return kTipoTinyInt;
        case kSqlSmallInt:
            return kTipoSmallInt;
        case kSqlInteger:
            return kTipoInt;
        case kSqlBit:
            return kTipoBit;
        case kSqlDecimal:
            return kTipoDecimal;
        case kSqlNumeric:
            return kTipoNumeric;
        case kSqlReal:
            return kTipoReal;
        case kSqlFloat:
        case kSqlDouble:
            return kTipoFloat;
        case kSqlDate:
            return kTipoDatetime;
        case kSqlTimestamp:
            return kTipoTimestamp;
        default:
            return kTipoVarchar;
    }
}

bool TipoSeNum(int16_t code) {
    switch (code) {
        case kTipoTinyInt:
        case kTipoSmallInt:
        case kTipoInt:
        case kTipoBit:
            return true;
        default:
            return TipoSeDec(code);
    }
}

bool TipoSeData(int16_t code) {
    return code == kTipoDatetime || code == kTipoSmallDatetime;
}

bool TipoSeDecimal(int16_t code) {
    return code == kTipoDecimal;
}

bool TipoSeDec(int16_t code) {
    switch (code) {
        case kTipoFloat:
        case kTipoNumeric:
        case kTipoMoney:
        case kTipoSmallMoney:
        case kTipoReal:
        case kTipoDecimal:
            return true;
        default:
            return false;
    }
}

}  // namespace kvl
