#pragma once
// kvlSERV: one working session with a database server reached through ODBC.
//
// A session is used by one thread at a time; sessions on different threads share nothing.
// Its result sets belong to its thread too. The members that may reopen the session's links
// are those that run a command (Exec and every member that queries, the fetches of its
// result sets, ErroTrata and Fecha): when a link is lost the user may choose to reconnect,
// after which result sets read before it give no more rows.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/Dialogs.h"
#include "kvl/Export.h"
#include "kvl/Variant.h"
#include "kvl/odbc/Api.h"

namespace kvl {

class kvlRES;
class RowSource;
class Language;

// SQL dialect of the catalog queries.
enum tqConecçaoTipo : int32_t {
    tq_dbconnectionSQL7 = 0,
    tq_dbconnectionSQL6 = 1,
    tq_dbconnectionORACLE8 = 2,
    tq_dbconnectionINFORMIX = 3,
    tq_dbconnectionACCESS = 4,
};

class kvlLIG;

class KVL_API kvlSERV : public Object, public std::enable_shared_from_this<kvlSERV> {
  public:
    // A closed session on this machine's driver manager, or on the one given.
    static std::shared_ptr<kvlSERV> Create();
    static std::shared_ptr<kvlSERV> Create(std::shared_ptr<odbc::Api> api);
    ~kvlSERV() override;
    kvlSERV(const kvlSERV&) = delete;
    kvlSERV& operator=(const kvlSERV&) = delete;

    // --- Public properties ---
    bool IgDupKey = false;
    bool ComMsg = true;
    bool ComMsgLog = true;
    int16_t lStackBase = 1;
    std::string TabelaDePos;
    std::string TabelaDePerm;
    std::string TabelaDeTabelas;
    std::string TabelaDeListas;
    std::string TabelaLocDeTabelas;
    std::string TabelaModelosLst;
    std::string TabelaMotoresLst;
    std::string TabelaPerfisLst;
    bool SqlMix = false;
    bool SqlAnalisaColunas = true;
    int32_t Prompt = 0;
    std::string Driver;
    std::string Server;
    std::string DSN;
    std::string DB;
    std::string UID;
    std::string PWD;
    std::string Grupo;
    std::string Login;
    Handle hEnv = 0;
    bool Aberto = false;
    std::string ActCom;
    bool erro = false;
    int16_t ErroN = 0;
    std::string ErroD;
    int32_t ErroNativo = 0;  // 32-bit: server user errors start at 50000
    int32_t LinAfect = 0;
    bool Log = false;
    std::string Aplicação;
    int16_t NRegistos = 0;
    tqConecçaoTipo connectionType = tq_dbconnectionSQL7;
    std::string syscolumns = "syscolumns";
    std::string sysobjects = "sysobjects";

    // Where the modal questions go; graphical clients and tests put their own.
    std::shared_ptr<Dialogs> Dialogos = TerminalDialogs();

    // --- Session ---
    tqConecçaoTipo connectionType_Get(std::string_view Mania) const;
    Variant MaxComLar() const;
    // The rows-left flag; set first when Tem is given.
    Variant TemLinhas(std::optional<Variant> Tem = std::nullopt);

    // --- Environment and connections ---
    // Opens the session with a whole connection text ("DRIVER=...;SERVER=...", kept in
    // Login), or, for a text without "=", the data source of that name.
    void Abre(const std::string& Ligacao);
    void Abre(const char* Ligacao) { Abre(std::string(Ligacao)); }
    // A connection of its own for prepared commands and transactions (see kvl/kvlLIG.h),
    // taken out of the statement stack while the kvlLIG lasts. Error 5 when the session is
    // not open; OdbcError when the connection cannot be made.
    std::shared_ptr<kvlLIG> Liga();
    void Abre(std::optional<std::string> sDSN = std::nullopt,
              std::optional<std::string> sDB = std::nullopt,
              std::optional<std::string> sUID = std::nullopt,
              std::optional<std::string> sPWD = std::nullopt,
              std::optional<std::string> sDRIVER = std::nullopt,
              std::optional<bool> BuildLogin = std::nullopt,
              std::optional<std::string> sLOGIN = std::nullopt,
              std::optional<std::string> sSERVER = std::nullopt);
    int16_t AbreAmbiente(Handle* PonteiroAmbiente = nullptr);
    void Conecta(Handle& hConn, Handle& hStmt);
    // The same as Conecta, with the error check of a failed connect.
    void Conecta_old(Handle& hConn, Handle& hStmt);
    void Fecha();
    bool ExisteDB(std::string_view Nome, Variant* Identificação = nullptr);

    // --- Execution ---
    // Runs SCom (omitted: ActCom, which is then emptied) on a free slot, or on the slot
    // oRes holds. With PreveLinhas the command becomes the count batch, written back to
    // SCom, and PreveLinhas receives the predicted row count. Nothing for a blank command.
    std::shared_ptr<kvlRES> Exec(std::string* SCom = nullptr,
                                 std::shared_ptr<kvlRES> oRes = nullptr,
                                 int32_t* PreveLinhas = nullptr,
                                 std::optional<bool> ComAnalise = std::nullopt);
    std::shared_ptr<kvlRES> Exec(const std::string& SCom, std::shared_ptr<kvlRES> oRes = nullptr,
                                 int32_t* PreveLinhas = nullptr,
                                 std::optional<bool> ComAnalise = std::nullopt);
    std::string Exec_ComPrevNumDeLinhas(std::string_view Comando) const;
    void com(std::string_view sComando);

    // --- Errors ---
    void ErroTrata(std::string_view Parametro, Handle hConn, Handle hStmt, std::string_view DeOnde);
    std::string ErroLe(Handle hConn, Handle hStmt);
    bool AcessoNãoTem() const;
    // The SQLSTATE of the diagnostic ErroD and ErroNativo were last read from; after a
    // refused Abre, that of the driver's refusal. Read-only: the error check sets it.
    const std::string& ErroEstado() const;
    // The error log file: beside the library file, named after it.
    static std::string FicheiroDeErros();
    // A millisecond tick count, wrapping like the classic 32-bit one.
    static int32_t Milissegundos();

    // --- Statement stack ---
    void StackReserva(Handle& hConn, Handle& hStmt, int16_t& nIndex);
    void StackLiberta(int16_t nIndex);
    void StackReservaConexões(int16_t De, int16_t Ate);
    void StackItemGet(int16_t nIndex, bool& bUsada, Handle* hConn = nullptr,
                      Handle* hStmt = nullptr) const;
    std::shared_ptr<kvlRES> StackGetNovo();
    int16_t Stack() const;
    void Stack(int16_t) {}  // accepted and ignored
    int16_t StackBase() const { return lStackBase; }
    void StackBase(int16_t n);
    void MASS_SegueConexão();
    int16_t GetBase(int16_t Index) const;
    int16_t GetExtra(int16_t Index) const;

    // --- SQL log ---
    void HistoriaAdd(std::string_view com, std::string_view Param,
                     std::optional<bool> LF = std::nullopt);
    // Entry nIndex as text; -1 gives the index of the last entry.
    Variant Logs(int32_t nIndex) const;

    // --- Catalog, field properties, lists and variables ---
    // A table may be named with a catalog prefix: "db.dbo.table", or "owner.table" in the
    // ORACLE8 dialect. Names are compared by the database, as the catalog holds them.
    bool CamposExisteCampo(std::string_view Tabela, std::string_view Campo);
    // Appends to the cache a record for every row of RES (any RowSource, a kvlRES among
    // them), or, with RES omitted, of the catalog query for Tabela (every table when
    // omitted). Conversion errors stop the call, keeping the records appended before.
    void CamposPropsCarrega(Variant* RES = nullptr, std::optional<Variant> Tabela = std::nullopt);
    // Properties 1 to 13 of the fields of Tabela (or of its field Campo), fields 1 to n;
    // loads the table from the catalog when the cache has none of them.
    Variant CamposPropsInfo(std::string_view Tabela,
                            std::optional<Variant> Recursiva_2Vez = std::nullopt,
                            std::optional<Variant> Campo = std::nullopt);
    // Rows 1 to 10: name, type, size, numeric, NDec, NInt, Max, Min, width, format; with
    // NomeCampo only that field's column is filled. The catalog table names are accepted
    // and not used.
    Variant CamposAnalisa(std::string_view TabelaNome,
                          std::optional<Variant> NomeCampo = std::nullopt,
                          std::optional<Variant> syscolumnsNome = std::nullopt,
                          std::optional<Variant> sysobjectsNome = std::nullopt);
    // Whether values of the first cached field of that name are written between quotes;
    // false for a name not in the cache.
    bool CamposQuerPlicas(std::string_view Nome) const;
    // Empties Lista (a ListControl), fills it from the query's rows and gives the codes
    // array from index -1 (""): one column fills the list alone; with more, column 2 is
    // shown and column 1 is the entry's code.
    Variant ListaEnche(const Variant& Lista, const std::string& SQL);
    // Copies the query's first row into Variaveis(0 ...); false, and nothing changed, when
    // it gave no row. An array that does not cover every column is error 9, nothing copied.
    bool VarCarrega(const std::string& SQL, VariantArray& Variaveis);

    // --- Permissions ---
    // Loads the rights of UID and of its database group for database BaseDeDados and
    // merges them; nothing happens without a permission table.
    void TabelaPermCarrega(std::string_view BaseDeDados);
    // Turns the user's rows into the effective rights: the user's own grant or deny
    // stands, the group fills what the user's row leaves open, group-only options join.
    void TabelaPermSimplifica();
    // The six grants of the option (false when the user has no entry); true when an
    // entry exists. Every right is granted to the super-user.
    bool TabelaPerm(std::string_view CodigoOpc, Variant* Acesso = nullptr,
                    Variant* Consulta = nullptr, Variant* Criação = nullptr,
                    Variant* Gravar = nullptr, Variant* Eliminar = nullptr,
                    Variant* Listar = nullptr);
    // The same on the group's rows; arguments are left as given when the group has no
    // entry for the option.
    bool TabelaPermGrupo(std::string_view CodigoOpc, Variant* Acesso = nullptr,
                         Variant* Consulta = nullptr, Variant* Novo = nullptr,
                         Variant* Gravar = nullptr, Variant* Eliminar = nullptr,
                         Variant* Listar = nullptr);
    bool TabelaPermTemAcesso(std::string_view CodigoOpc);
    bool TabelaPermTemConsulta(std::string_view CodigoOpc);
    bool TabelaPermTemInserção(std::string_view CodigoOpc);
    bool TabelaPermTemAlteração(std::string_view CodigoOpc);
    bool TabelaPermTemEliminação(std::string_view CodigoOpc);
    bool TabelaPermTemListagem(std::string_view CodigoOpc);
    // Switches every tagged menu item of the window (a Window) to its access right.
    void TabelaPermVerifica(const Variant& Janela);

    // --- Window positions ---
    // A window is known by its key: its title (sTitulo, else its Caption) cut before the
    // first "(", which is written back into sTitulo, then its first 80 characters, trimmed.
    void TabelaPosCarrega();
    // Places the window (a Window) as it was saved and gives its kept texts; false, and
    // nothing touched, when it has no record. sApp and SubContexto are not used.
    bool TabelaPosLe(const Variant& oJanela, Variant* sTitulo = nullptr, Variant* sObs = nullptr,
                     Variant* sTabGrelha = nullptr, std::optional<Variant> sApp = std::nullopt,
                     std::optional<Variant> SubContexto = std::nullopt);
    // Takes the window's place, size and state into the cache (the window is left
    // hidden), or only the observation with GravaSoObs. Sizes beyond 16 bits are error 6.
    void TabelaPosGrava(const Variant& oJanela, Variant* sTitulo = nullptr, Variant* sObs = nullptr,
                        Variant* sTabGrelha = nullptr, std::optional<Variant> sApp = std::nullopt,
                        std::optional<bool> GravaSoObs = std::nullopt,
                        std::optional<Variant> SubContexto = std::nullopt);
    // Writes the changed records: one statement per run with LinhaALinha, else batches
    // of ten delete-and-insert pairs.
    void TabelaPosGravaTabela(std::optional<bool> LinhaALinha = std::nullopt);
    // Reads the window's record of this application again into the entry of
    // sTituloAnterior (else of the key); true when the table had one.
    bool TabelaPosAct(const Variant& oJanela, Variant* sTitulo = nullptr,
                      Variant* sTituloAnterior = nullptr);

    // --- Table and list collections ---
    // Reads the tables catalogue with its locations and the lists catalogue (each when
    // asked) in one batch after any text already in ActCom, and replaces the part read.
    // FormMSG is a ProgressForm, oLingua a Language; both optional.
    void TabelasColecçõesCarrega(std::optional<Variant> FormMSG = std::nullopt,
                                 std::optional<Variant> oLingua = std::nullopt,
                                 std::optional<bool> LeTab = std::nullopt,
                                 std::optional<bool> LeLst = std::nullopt,
                                 std::optional<std::string> DBActual = std::nullopt,
                                 std::optional<std::string> DBMãe = std::nullopt);
    // Texto with "from @" made the FROM clause on table Index and every "&.name" the
    // location of the first table whose location holds that name.
    std::string TabelasColecçõesCarrega_CorrigeSQL(std::string Texto, int16_t Index) const;
    // Entry Index's fields; Index 0 gives the upper index in Tit (a 32-bit integer).
    void TabelasColecçõesItemTab(int16_t Index, std::string* Loc = nullptr, Variant* Tit = nullptr,
                                 Variant* NTit = nullptr, std::string* Lst = nullptr,
                                 std::string* LstSQL = nullptr) const;
    int16_t TabelasColecçõesItemTabCount() const;
    int16_t TabelasColecçõesItemLstCount() const;
    std::string TabelasColecçõesTabLoc(int16_t Index) const;
    int16_t TabelasColecçõesNTit(int16_t Index) const;
    // Entry Index's fields; Index 0 gives the upper index in Tit, as decimal text.
    void TabelasColecçõesItemLst(int16_t Index, std::string* Tit = nullptr,
                                 std::string* SQL = nullptr) const;

    // --- Text search ---
    // The command that finds and ranks the rows of Tabela whose CampoPesquisa holds any
    // word of oQue, which receives the text as it is searched. Nothing is run.
    Variant Pesquisa(const std::string& Tabela, const std::string& CampoPesquisa,
                     const std::string& CamposRetorno, std::string& oQue,
                     std::optional<Variant> IgnorarAcentos = std::nullopt,
                     std::optional<Variant> NumeroLinhas = std::nullopt,
                     std::optional<Variant> OrderByNumPalavras = std::nullopt) const;
    // The description of code O_Que in table Onde of the table collection; "" when no row
    // has it or the query fails. OutraCol, when given, names one more column and receives
    // its value.
    std::string PesquisaDesc(const Variant& O_Que, const Variant& Onde,
                             Variant* COL_Codigo = nullptr, Variant* COL_DESC = nullptr,
                             Variant* OutraCol = nullptr);

    // The session's state, for the library's own files: its type is not part of the interface.
    struct Impl;
    Impl& impl() const { return *impl_; }

  private:
    explicit kvlSERV(std::shared_ptr<odbc::Api> api);
    std::unique_ptr<Impl> impl_;
};

}  // namespace kvl
