#pragma once
// The state of a kvlLIG: the slot it took out of the stack, and the statements of its
// prepared commands on that slot's connection.

#include <memory>

#include "StatementPool.h"
#include "kvl/kvlLIG.h"
#include "kvl/odbc/Handles.h"

namespace kvl {

struct kvlLIG::Impl {
    std::shared_ptr<kvlSERV> pai;
    SlotLease lease;
    bool transaccao = false;

    // Rolls back a transaction still open and turns auto-commit back on before the slot goes
    // back, so the stack's connections all stay in the driver's default mode.
    ~Impl();
    odbc::Api& api() const { return *lease.api(); }
    // Throws the connection's diagnostics when rc is a failure.
    void Check(odbc::Return rc) const;
};

// A statement of its own on a kvlLIG's connection: the source of a prepared command's rows.
class LinkStatement final : public StatementSource {
  public:
    // Throws OdbcError when the statement cannot be made.
    explicit LinkStatement(std::shared_ptr<kvlLIG::Impl> link);
    // Freed while the connection is; a connection the session gave up took it along.
    ~LinkStatement() override;
    LinkStatement(const LinkStatement&) = delete;
    LinkStatement& operator=(const LinkStatement&) = delete;

    bool Live() const override { return link_->lease.Live(); }
    Handle conn() const override { return link_->lease.conn(); }
    Handle stmt() const override { return Live() ? stmt_.get() : 0; }
    odbc::Api* api() const override { return link_->lease.api(); }

  private:
    std::shared_ptr<kvlLIG::Impl> link_;
    odbc::Statement stmt_;
};

}  // namespace kvl
