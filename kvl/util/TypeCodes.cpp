#include "kvl/TypeCodes.h"

namespace kvl {

int16_t SqlTipoConverte(int16_t sqlType) {
    switch (sqlType) {
        case 1:
            return 1;  // SQL_CHAR
        case -1:
            return 19;  // SQL_LONGVARCHAR
        case -2:
            return 3;  // SQL_BINARY
        case -3:
            return 4;  // SQL_VARBINARY
        case -6:
            return 5;  // SQL_TINYINT
        case 5:
            return 6;  // SQL_SMALLINT
        case 4:
            return 7;  // SQL_INTEGER
        case -7:
            return 16;  // SQL_BIT
        case 3:
            return 24;  // SQL_DECIMAL
        case 2:
            return 10;  // SQL_NUMERIC
        case 7:
            return 23;  // SQL_REAL
        case 6:         // SQL_FLOAT
        case 8:
            return 8;  // SQL_DOUBLE
        case 9:
            return 12;  // SQL_DATE
        case 11:
            return 80;  // SQL_TIMESTAMP
        default:
            return 2;  // SQL_VARCHAR and every other type
    }
}

bool TipoSeNum(int16_t code) {
    switch (code) {
        case 5:
        case 6:
        case 7:
        case 8:
        case 10:
        case 11:
        case 16:
        case 21:
        case 23:
        case 24:
            return true;
        default:
            return false;
    }
}

bool TipoSeData(int16_t code) {
    return code == 12 || code == 22;
}

bool TipoSeDecimal(int16_t code) {
    return code == 24;
}

bool TipoSeDec(int16_t code) {
    switch (code) {
        case 8:
        case 10:
        case 11:
        case 21:
        case 23:
        case 24:
            return true;
        default:
            return false;
    }
}

}  // namespace kvl
