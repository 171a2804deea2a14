// kvlLIG: a connection taken out of the stack for prepared commands and transactions.

#include "Link.h"

#include "../result/ResultImpl.h"
#include "SessionImpl.h"
#include "kvl/OdbcError.h"

namespace kvl {

namespace {

[[noreturn]] void ThrowClosed() {
    throw OdbcError(odbc::kError, {{"08003", 0, "the connection is not open"}});
}

}  // namespace

kvlLIG::Impl::~Impl() {
    if (!lease.Live()) return;
    if (transaccao) api().EndTran(lease.conn(), false);
    api().SetAutoCommit(lease.conn(), true);
}

void kvlLIG::Impl::Check(odbc::Return rc) const {
    if (odbc::Succeeded(rc)) return;
    if (!lease.Live()) ThrowClosed();
    throw OdbcError(rc, odbc::Diagnostics(api(), 0, lease.conn(), 0));
}

LinkStatement::LinkStatement(std::shared_ptr<kvlLIG::Impl> link) : link_(std::move(link)) {
    if (!Live()) ThrowClosed();
    stmt_ = odbc::Statement(*api(), conn());
    link_->Check(stmt_.status());
}

LinkStatement::~LinkStatement() {
    // Disconnecting frees a connection's statements: one whose slot the session gave up
    // (a close, a reconnection) is gone already.
    if (!Live()) stmt_.Release();
}

kvlLIG::kvlLIG(std::shared_ptr<Impl> impl) : impl_(std::move(impl)) {}

kvlLIG::~kvlLIG() = default;

std::shared_ptr<kvlLIG> kvlSERV::Liga() {
    if (!Aberto) throw Error(kInvalidCall, "the session is not open");
    auto link = std::make_shared<kvlLIG::Impl>();
    link->pai = shared_from_this();
    link->lease = impl().Lease();
    if (!link->lease.Connected()) {
        throw OdbcError(odbc::kError, {{impl().sqlState, ErroNativo, ErroD}});
    }
    return std::make_shared<kvlLIG>(std::move(link));
}

std::shared_ptr<kvlRES> kvlLIG::Prepara(const std::string& Comando) {
    auto source = std::make_unique<LinkStatement>(impl_);
    odbc::Api& api = *source->api();
    const odbc::Return rc = api.Prepare(source->stmt(), Comando);
    if (!odbc::Succeeded(rc)) throw OdbcError(rc, odbc::Diagnostics(api, 0, 0, source->stmt()));
    auto r = std::make_shared<kvlRES>();
    r->Pai = impl_->pai;
    r->ActCom = Comando;
    r->hConn = source->conn();
    r->hStmt = source->stmt();
    r->impl().proprio = std::move(source);
    return r;
}

void kvlLIG::TransacçãoInicia() {
    if (impl_->transaccao) throw Error(kInvalidCall, "a transaction is open already");
    impl_->Check(impl_->api().SetAutoCommit(impl_->lease.conn(), false));
    impl_->transaccao = true;
}

void kvlLIG::TransacçãoConfirma() {
    if (!impl_->transaccao) throw Error(kInvalidCall, "no transaction is open");
    // A commit that fails leaves the transaction open, to be rolled back.
    impl_->Check(impl_->api().EndTran(impl_->lease.conn(), true));
    impl_->transaccao = false;
    impl_->Check(impl_->api().SetAutoCommit(impl_->lease.conn(), true));
}

void kvlLIG::TransacçãoDesfaz() {
    if (!impl_->transaccao) throw Error(kInvalidCall, "no transaction is open");
    impl_->transaccao = false;
    impl_->Check(impl_->api().EndTran(impl_->lease.conn(), false));
    impl_->Check(impl_->api().SetAutoCommit(impl_->lease.conn(), true));
}

bool kvlLIG::EmTransacção() const {
    return impl_->transaccao;
}

}  // namespace kvl
