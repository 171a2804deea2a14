#pragma once
// The state of a kvlRES behind its public face: its columns, the current and stored rows,
// and its lease on a statement slot of its session.

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "../server/StatementPool.h"
#include "Column.h"
#include "Parameters.h"
#include "RowStore.h"
#include "TypedRows.h"
#include "kvl/Error.h"
#include "kvl/kvlRES.h"
#include "kvl/odbc/Cursor.h"

namespace kvl {

struct kvlRES::Impl {
    explicit Impl(kvlRES& result);

    kvlRES& self;
    std::vector<Coluna> Colunas;  // element 0 unused
    // Where every column's first read lands: as large as the largest of them.
    std::vector<char> recepcao;
    std::vector<Coluna> LinhaPop;
    std::vector<Coluna> LinhaPush;
    std::unique_ptr<RowStore> Registos;
    odbc::Return Retorno = 0;
    bool comLinhas = false;
    SlotLease lease;
    // A prepared command's own statement on a kvlLIG's connection, in place of a slot.
    std::unique_ptr<StatementSource> proprio;
    BoundParameters parametros;
    // How the current result is read: once read one way, the other is an invalid call.
    enum class Leitura : uint8_t { kNenhuma, kTexto, kTipada } leitura = Leitura::kNenhuma;
    // The typed reading, made when first asked for. Declared after the lease it reads
    // through, so it unbinds the statement before the lease gives the slot back.
    std::unique_ptr<TypedRows> tipadas;

    const Coluna& C(int16_t nIndex) const {
        if (nIndex < 0 || static_cast<size_t>(nIndex) >= Colunas.size())
            throw Error(kSubscriptOutOfRange);
        return Colunas[static_cast<size_t>(nIndex)];
    }
    Coluna& C(int16_t nIndex) { return const_cast<Coluna&>(std::as_const(*this).C(nIndex)); }

    TypedRows& Tipadas();
    // A new result on the statement: read neither way yet, nothing of it bound.
    void ReiniciaLeitura();
    // Takes a slot: its number and handles become the result set's.
    void Hold(SlotLease l);
    // Whether the statement handle still belongs to a live slot of the session.
    bool SlotVivo() const { return proprio ? proprio->Live() : lease.Live(); }
    // Gives the slot back, telling the session whether rows were left.
    void GiveBack(bool rowsLeft);
    odbc::Api& Api() const;
    // Runs the prepared command with these values bound; throws OdbcError when it fails.
    void Executa(const std::vector<TypedValue>& valores);

    void LogInicio();
    void LogFim();
    // Reads the counts and describes the columns of the statement's current result;
    // without analysis the columns are named from the command when nomes is true.
    void Descreve(bool analisa, bool nomes);
    void DescreveColuna(Coluna& c, uint16_t n);
    // Sets the column's first read for this many characters (bytes for other data).
    void ReservaLeitura(Coluna& c, int32_t chars, bool texto);
    // A new result set of the statement: counted, its timing started, nothing stored yet.
    void ComecaResultado();
    // Reads one value whole; false when the driver failed.
    bool LeValor(Coluna& c, uint16_t n, const odbc::Cursor& cursor);
    // Fetches the next row, through the error check when the fetch fails.
    odbc::Return Busca();
    // After a failed call on the statement: the session's error check, acted on here.
    // True when the call is to be made again on the same statement.
    bool RepeteAposFalha(std::string_view DeOnde);
    void ReplayLinha();
};

}  // namespace kvl
