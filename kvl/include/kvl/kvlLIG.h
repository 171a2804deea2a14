#pragma once
// kvlLIG: one connection of a session, taken for prepared commands with parameters and for
// transactions.
//
// How it meets the statement stack: a transaction belongs to one connection, and every
// slot of the stack has a connection of its own. kvlSERV::Liga therefore takes one slot out
// of the stack for the kvlLIG's whole life; its connection runs only what goes through
// this object: the commands it prepares (each on a statement of its own, all on that one
// connection) and the transaction it begins. The session's own members (Exec, the services,
// the close) run on the other slots and never change the commit mode: they stay in the
// driver's default, auto-commit, whatever a kvlLIG does. Dropping the last reference rolls
// back a transaction still open, turns auto-commit back on and gives the slot back.
//
// Failures throw kvl::OdbcError with the driver's SQLSTATE, native code and message; no
// dialog is shown and the session's error properties are left as they were. A lost link is
// not re-established here: the next command fails too, and a new kvlLIG takes a new link.

#include <memory>
#include <string>
#include <vector>

#include "kvl/Export.h"
#include "kvl/TypedValue.h"
#include "kvl/kvlRES.h"

namespace kvl {

class kvlSERV;

class KVL_API kvlLIG {
  public:
    ~kvlLIG();
    kvlLIG(const kvlLIG&) = delete;
    kvlLIG& operator=(const kvlLIG&) = delete;

    // Prepares a command with "?" markers, once. The result set returned runs it with
    // kvlRES::Executa, as often as wanted, and is read with TemLinhasTipadas/ColTipada.
    std::shared_ptr<kvlRES> Prepara(const std::string& Comando);

    // Begins a transaction: auto-commit off until it ends.
    void TransacçãoInicia();
    // Commits, or rolls back, what ran since it began, and turns auto-commit back on.
    void TransacçãoConfirma();
    void TransacçãoDesfaz();
    // Whether a transaction is open.
    bool EmTransacção() const;

    // The connection's state, for the library's own files: its type is not part of the
    // interface. The commands it prepared share it, so it lasts as long as they do.
    struct Impl;
    Impl& impl() const { return *impl_; }
    explicit kvlLIG(std::shared_ptr<Impl> impl);

  private:
    std::shared_ptr<Impl> impl_;
};

}  // namespace kvl
