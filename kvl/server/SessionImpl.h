#pragma once
// The state of a kvlSERV behind its public face, and the engine the members share: the
// links, the error check's decisions, the execution loop and the services.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../services/Collections.h"
#include "../services/FieldProperties.h"
#include "../services/Permissions.h"
#include "../services/WindowPositions.h"
#include "ErrorCheck.h"
#include "SessionRunner.h"
#include "StatementPool.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvl {

struct kvlSERV::Impl {
    Impl(kvlSERV& session, std::shared_ptr<odbc::Api> odbcApi);

    kvlSERV& self;
    std::shared_ptr<odbc::Api> api;
    std::shared_ptr<StatementPool> pool;
    odbc::Return lastReturn = 0;
    std::string sqlState;                 // SQLSTATE of the last diagnostic read
    std::vector<std::string> history{1};  // the SQL log; element 0 is the initial empty entry
    std::vector<uint8_t> usageBase{0};
    std::vector<uint8_t> usageExtra{0};

    // What the server does with the texts sent to it, learnt from the first link of an open.
    struct ServerFacts {
        bool known = false;
        bool batches = true;            // several statements in one call
        bool backslashEscapes = false;  // backslashes in plain literals are escapes
    } facts;

    services::FieldProperties fields;
    services::WindowPositions positions;
    services::Permissions permissions;
    services::Collections collections;
    // In the order the open loads them.
    std::vector<services::Service*> services{&positions, &permissions, &collections, &fields};
    SessionRunner runner{self};

    // The empty state of a new or closed session.
    void Reset();
    // Connects slot: its connection and statement, the error properties from the driver's
    // diagnostics when the connect is refused.
    void Connect(StatementPool::Slot& slot);
    // A slot for a result set: a free one, or a new one past the stack.
    SlotLease Lease();
    int16_t Reserve();
    // The error check of a call that returned rc, without acting on the outcome.
    Decision Check(odbc::Return rc, std::string_view command, Handle conn, Handle stmt,
                   std::string_view where);
    // The same with the failure's diagnostic already read.
    Decision Check(odbc::Return rc, const odbc::Diagnostic& reason, std::string_view command,
                   std::string_view where);
    // Acts on a decision: reopens the links when asked. True when the call is to be made
    // again (never after a reconnection that failed).
    bool Follow(Decision d);
    // Opens the environment and the base slots again with the session's connection text,
    // keeping the error properties of the failure that led here.
    void Reopen();
    // Frees every link; result sets still out go stale.
    void FreeLinks();
    // Exec's work once the command is known: comando, made the count batch when a
    // prediction is asked (and written back to SCom when given).
    std::shared_ptr<kvlRES> Exec(std::string comando, std::string* SCom,
                                 std::shared_ptr<kvlRES> oRes, int32_t* PreveLinhas,
                                 std::optional<bool> ComAnalise);
    // Runs R.ActCom on R's slot (or a new one) until the error check says stop; gives the
    // start time of the last attempt.
    int32_t Run(kvlRES& R);
    void LogExecution(const kvlRES& R, int32_t start);
    void LogExecution(std::string_view command, int16_t index, Handle conn, Handle stmt,
                      int32_t start);
    // Learns the server facts from a slot just connected.
    void LearnServer(const StatementPool::Slot& slot);
};

// Appends the session's current error to the error log file.
void RegistaNoFicheiroDeErros(const kvlSERV& s, std::string_view Parametro);

}  // namespace kvl
