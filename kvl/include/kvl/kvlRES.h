#pragma once
// kvlRES: one result set, bound to a statement slot of its server.

#include <cstdint>
#include <memory>

#include "kvl/Variant.h"
#include "kvl/odbc/Api.h"

namespace kvl {

class kvlSERV;

class kvlRES : public Object {
public:
    kvlRES() = default;
    ~kvlRES() override;
    kvlRES(const kvlRES&) = delete;
    kvlRES& operator=(const kvlRES&) = delete;

    std::shared_ptr<kvlSERV> Pai;
    int16_t Indice = 0;
    Handle hConn = 0;
    Handle hStmt = 0;

    // Gives the statement slot back to the server.
    void Liberta();

private:
    friend class kvlSERV;
    uint64_t geracao_ = 0;  // the server's generation when the slot was reserved
};

}  // namespace kvl
