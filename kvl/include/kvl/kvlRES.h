#pragma once
// kvlRES: one result set, bound to a statement slot of its server. Every value
// arrives as text; rows can be stored in memory and replayed. It belongs to its session's
// thread. Its fetches may reopen the session's links (a lost link the user chooses to
// re-establish), after which it reads no more rows.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kvl/Export.h"
#include "kvl/TypedValue.h"
#include "kvl/Variant.h"
#include "kvl/odbc/Api.h"

namespace kvl {

class kvlSERV;
class KVL_API kvlRES : public Object {
  public:
    kvlRES();
    ~kvlRES() override;
    kvlRES(const kvlRES&) = delete;
    kvlRES& operator=(const kvlRES&) = delete;

    // --- Public properties ---
    bool SqlAnalisaColunas = true;
    std::shared_ptr<kvlSERV> Pai;
    int16_t Indice = 0;
    Handle hConn = 0;
    Handle hStmt = 0;
    std::string ActCom;
    bool erro = false;
    int32_t ErroN = 0;
    std::string ErroD;
    int16_t Cols = 0;
    int32_t Lins = 0;
    int16_t Ress = 0;
    int32_t Tempos = 0;
    int32_t LinAfect = 0;
    bool Armazena = false;
    bool Armazenou = false;
    int32_t TotLins = 0;

    // --- Columns ---
    void AnalisaColunas();
    void AnalisaColunasNomes();
    void ColunasRedim(std::optional<bool> AutoBufferize = std::nullopt);
    void ColBuffer(int16_t nIndex, const Variant& length);
    Variant ColTipo(int16_t nIndex) const;
    Variant ColNome(int16_t nIndex) const;
    Variant ColNomeCompleto(int16_t nIndex) const;
    Variant ColLen(int16_t nIndex) const;
    Variant ColTituloLen(int16_t nIndex) const;
    Variant ColNBytes(int16_t nIndex) const;
    Variant ColNInt(int16_t nIndex) const;
    int16_t ColNDec(int16_t nIndex) const;
    Variant ColMax(int16_t nIndex) const;
    Variant ColMin(int16_t nIndex) const;
    bool ColSeTipoNum(int16_t nIndex) const;
    bool ColSeTipoDec(int16_t nIndex) const;
    bool ColSeNull(int16_t nIndex) const;
    int16_t ColIndex(std::string_view sNome) const;
    // The value of the named column; error 9 when no column has that name.
    Variant XCol(std::string_view sNome) const;

    // --- Rows ---
    bool TemLinhas();
    void ProximaLinha();
    void ProximaLinhaRegista();
    // Rows stored; counts beyond 16 bits are allowed.
    int32_t CarregaTudo(std::optional<Variant> Intervalo = std::nullopt);
    Variant ColReg(int32_t Linha, int16_t Coluna) const;
    // The value in place: a caller that keeps it takes its own copy.
    const Variant& Col(int16_t nIndex) const;
    void Col(int16_t nIndex, const Variant& value);
    void PopLinha();
    void PushLinha();
    void ReloadLinha();
    bool MaisResultados(std::optional<bool> ComAnalise = std::nullopt);
    bool ComLinhas(std::optional<Variant> SimOuNão = std::nullopt);
    void Liberta();

    // --- Typed reading in blocks (kvl/TypedValue.h says how each type arrives) ---
    // Moves to the next row of the current result, fetched in blocks of LinhasPorBloco rows
    // (fewer when the bound buffers would pass a few MB, and one on a driver that cannot read
    // a long value within a block; the first call of a result decides). False at the end of
    // the rows; an ODBC failure throws OdbcError, without the error check or its dialogs, and
    // so does every later call. Once a result is read this way TemLinhas is error 5, and
    // after TemLinhas this is, until MaisResultados moves to the next result.
    bool TemLinhasTipadas(std::optional<int32_t> LinhasPorBloco = std::nullopt);
    // The current row's value; error 9 out of range, error 5 unless read typed.
    const TypedValue& ColTipada(int16_t nIndex) const;
    // The column's name, SQL type (the one its values are typed by), size, decimals and
    // nullability; error 9 out of range.
    const odbc::ColumnDescription& ColDescrição(int16_t nIndex) const;

    // --- Prepared commands (made by kvlLIG::Prepara) ---
    // Runs the command with Parametros bound to its "?" markers in order (std::monostate for
    // NULL), without preparing it again; LinAfect and Cols tell what it did, and its rows are
    // read with TemLinhasTipadas. An ODBC failure throws OdbcError. Error 5 on a result set
    // of Exec.
    void Executa(const std::vector<TypedValue>& Parametros = {});

    // The result set's state, for the library's own files: its type is not part of the
    // interface.
    struct Impl;
    Impl& impl() const { return *impl_; }

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace kvl
