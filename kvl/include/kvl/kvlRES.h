#pragma once
// kvlRES: one result set, bound to a statement slot of its server. Every value
// arrives as text; rows can be stored in memory and replayed.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kvl/Error.h"
#include "kvl/Export.h"
#include "kvl/Variant.h"
#include "kvl/odbc/Api.h"

namespace kvl {

class kvlSERV;
class RowStore;

// One column: its description and its value in the current row.
struct Coluna {
    std::string Nome;
    Variant Tipo;  // Empty until the column is analysed
    int32_t NBytes = 0;
    int32_t Len = 0;
    int16_t NInt = 0;
    int16_t NDec = 0;
    double Max = 0;
    double Min = 0;
    bool SeTipoNum = false;
    bool SeTipoDec = false;
    // The bytes of the first read of each value, sized to what the column's values need;
    // a longer value is read on in pieces and still arrives whole.
    int32_t Leitura = 0;
    Variant Valor;
    bool SeNull = false;
};

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
    bool ColSeNull(int16_t nIndex) const { return C(nIndex).SeNull; }
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
    const Variant& Col(int16_t nIndex) const { return C(nIndex).Valor; }
    void Col(int16_t nIndex, const Variant& value);
    void PopLinha();
    void PushLinha();
    void ReloadLinha();
    bool MaisResultados(std::optional<bool> ComAnalise = std::nullopt);
    bool ComLinhas(std::optional<Variant> SimOuNão = std::nullopt);
    void Liberta();

  private:
    friend class kvlSERV;

    // The hold on a statement slot (its number is Indice): the server that lent it, that
    // server's generation at the time, and the driver manager of its handles.
    struct Lease {
        std::weak_ptr<kvlSERV> owner;
        const kvlSERV* direct = nullptr;  // compared with Pai, to skip the weak lock
        uint64_t generation = 0;
        std::shared_ptr<odbc::Api> api;
    };

    const Coluna& C(int16_t nIndex) const {
        if (nIndex < 0 || static_cast<size_t>(nIndex) >= Colunas.size())
            throw Error(kSubscriptOutOfRange);
        return Colunas[static_cast<size_t>(nIndex)];
    }
    Coluna& C(int16_t nIndex) { return const_cast<Coluna&>(std::as_const(*this).C(nIndex)); }
    // Whether the statement handle still belongs to a live slot of the session.
    bool SlotVivo() const;
    void LogInicio();
    void LogFim();
    // Reads the counts and describes the columns of the statement's current result;
    // without analysis the columns are named from the command when nomes is true.
    void Descreve(bool analisa, bool nomes);
    void DescreveColuna(Coluna& c, uint16_t n);
    // Sets the column's first read for this many characters (bytes for other data).
    void ReservaLeitura(Coluna& c, int32_t chars, bool texto);
    // Reads one value whole; false when the driver failed.
    bool LeValor(Coluna& c, uint16_t n, odbc::Api& api);
    // Fetches the next row, through the error check when the fetch fails.
    odbc::Return Busca();
    void ReplayLinha();

    std::vector<Coluna> Colunas;  // element 0 unused
    // Where every column's first read lands: as large as the largest of them.
    std::vector<char> recepcao_;
    std::vector<Coluna> LinhaPop;
    std::vector<Coluna> LinhaPush;
    std::unique_ptr<RowStore> Registos;
    int32_t Retorno = 0;
    bool comLinhas_ = false;
    Lease lease_;
    odbc::Api& Api() const;
};

}  // namespace kvl
