#pragma once
// How kvlsql runs commands and shows their results, from its command line and changed by
// its backslash commands.

#include "TableFormat.h"

namespace kvlsql {

struct RunSettings {
    OutputSettings output;
    bool predictRows = false;  // --count: a query's row count before its rows
    bool stopOnError = false;  // run nothing more after the first failure
    bool ask = false;          // ask Abort/Retry/Ignore when a command fails
    bool timing = false;       // each command's time after its results
};

}  // namespace kvlsql
