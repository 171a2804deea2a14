// Creation, reset and the small session-wide members of kvlSERV.

#include "SessionImpl.h"
#include "kvl/Text.h"

namespace kvl {

kvlSERV::Impl::Impl(kvlSERV& session, std::shared_ptr<odbc::Api> odbcApi)
    : self(session), api(std::move(odbcApi)), pool(std::make_shared<StatementPool>(api, session)) {}

void kvlSERV::Impl::Reset() {
    kvlSERV& s = self;
    s.Prompt = 0;
    s.lStackBase = 1;
    pool->count = 0;
    history.assign(1, std::string());
    s.Log = false;
    for (services::Service* service : services) service->Clear();
    s.ComMsg = true;
    s.ComMsgLog = true;
    s.SqlAnalisaColunas = true;
    s.syscolumns = "syscolumns";
    s.sysobjects = "sysobjects";
}

std::shared_ptr<kvlSERV> kvlSERV::Create() {
    return Create(odbc::UnixOdbc());
}

std::shared_ptr<kvlSERV> kvlSERV::Create(std::shared_ptr<odbc::Api> api) {
    return std::shared_ptr<kvlSERV>(new kvlSERV(std::move(api)));
}

kvlSERV::kvlSERV(std::shared_ptr<odbc::Api> api)
    : impl_(std::make_unique<Impl>(*this, std::move(api))) {
    impl_->Reset();
}

kvlSERV::~kvlSERV() {
    // The last reference is gone: close an open session (its changed window positions
    // are written without any result set holding this server), or give back what a
    // failed open left allocated. Nothing may escape a destructor.
    try {
        Fecha();
    } catch (...) {
    }
    // Leases still out go stale before the pool's back reference to this session dies.
    impl_->FreeLinks();
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
    if (Tem) impl().pool->rowsLeft = Tem->ToBool();
    return Variant(impl().pool->rowsLeft);
}

}  // namespace kvl
