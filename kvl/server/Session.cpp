// Creation, reset and the small session-wide members of kvlSERV.

#include "kvl/Text.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvl {

std::shared_ptr<kvlSERV> kvlSERV::Create() {
    return Create(odbc::UnixOdbc());
}

std::shared_ptr<kvlSERV> kvlSERV::Create(std::shared_ptr<odbc::Api> api) {
    return std::shared_ptr<kvlSERV>(new kvlSERV(std::move(api)));
}

kvlSERV::kvlSERV(std::shared_ptr<odbc::Api> api) : api_(std::move(api)) {
    Reset();
}

kvlSERV::~kvlSERV() {
    // The last reference is gone: close an open session (its changed window positions
    // are written without any result set holding this server), or give back what a
    // failed open left allocated. Nothing may escape a destructor.
    try {
        Fecha();
    } catch (...) {
    }
}

void kvlSERV::Reset() {
    Prompt = 0;
    lStackBase = 1;
    SlotCount = 0;
    historia_.assign(1, std::string());
    CamposProps.clear();
    Posicoes.clear();
    Log = false;
    PermUtilizador.clear();
    PermGrupo.clear();
    EsvaziaColecções();
    ComMsg = true;
    ComMsgLog = true;
    SqlAnalisaColunas = true;
    syscolumns = "syscolumns";
    sysobjects = "sysobjects";
}

tqConecçaoTipo kvlSERV::connectionType_Get(std::string_view Mania) const {
    std::string word = Maiusculas(Mania);
    if (word == "SQL6") return tq_dbconnectionSQL6;
    if (word == "ORACLE8") return tq_dbconnectionORACLE8;
    if (word == "INFORMIX") return tq_dbconnectionINFORMIX;
    if (word == "ACCESS") return tq_dbconnectionACCESS;
    return tq_dbconnectionSQL7;
}

Variant kvlSERV::MaxComLar() const {
    return Variant(int32_t{35208});
}

Variant kvlSERV::TemLinhas(std::optional<Variant> Tem) {
    if (Tem) linhasRestantes_ = Tem->ToBool();
    return Variant(linhasRestantes_);
}

}  // namespace kvl
