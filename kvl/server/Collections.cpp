// The application's table and list collections: loading them from the catalogues of the
// client's database, and reading them by number.

#include "kvl/ClientObjects.h"
#include "kvl/Text.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvl {

namespace {

// The client's phrases shown while each catalogue is read.
constexpr int16_t kFraseTabelas = 386;
constexpr int16_t kFraseListas = 511;

// A catalogue number as an index: 16-bit like every number of the catalogues (beyond
// is an overflow), and never the unused entry 0 nor below it.
size_t NumeroDoCatálogo(const Variant& coluna) {
    int16_t n = coluna.ToInt16();
    if (n < 1) throw Error(kSubscriptOutOfRange);
    return static_cast<size_t>(n);
}

template <class Entrada>
Entrada& Cresce(std::vector<Entrada>& colecção, size_t k) {
    if (colecção.size() <= k) colecção.resize(k + 1);
    return colecção[k];
}

template <class Entrada>
const Entrada& EntradaEm(const std::vector<Entrada>& colecção, int16_t Index) {
    if (Index < 0 || static_cast<size_t>(Index) >= colecção.size())
        throw Error(kSubscriptOutOfRange);
    return colecção[static_cast<size_t>(Index)];
}

template <class Entrada>
int16_t LimiteSuperior(const std::vector<Entrada>& colecção) {
    return static_cast<int16_t>(colecção.size() - 1);
}

void MostraProgresso(ProgressForm* form, Language* lingua, int16_t frase) {
    if (!form) return;
    if (lingua) {
        form->Msg(Variant(""), lingua->Frase(Variant(frase)), std::nullopt);
    } else {
        form->Msg(Variant(""), Variant(""), Variant(""));
    }
}

}  // namespace

void kvlSERV::EsvaziaColecções() {
    Tabelas_.assign(1, {});
    Listas_.assign(1, {});
}

void kvlSERV::TabelasColecçõesCarrega(std::optional<Variant> FormMSG,
                                      std::optional<Variant> oLingua, std::optional<bool> LeTab,
                                      std::optional<bool> LeLst,
                                      std::optional<std::string> DBActual,
                                      std::optional<std::string> DBMãe) {
    // Objects that are not what they should be fail the call before anything runs.
    std::shared_ptr<ProgressForm> form = FormMSG ? ClientObject<ProgressForm>(*FormMSG) : nullptr;
    std::shared_ptr<Language> lingua = oLingua ? ClientObject<Language>(*oLingua) : nullptr;
    const std::string empresa = DBActual.value_or(DB);
    const bool tabelas = LeTab.value_or(true);
    const bool listas = LeLst.value_or(true);

    // Tables without a location row are kept (an outer join), with an empty destination.
    if (tabelas) {
        com(" SELECT iTABtab, sTABnome, iTABtit, sTABrel, sTABconst, sLTBempdst, iTABlsttit,"
            " sTABlstsql, sTABapp FROM " +
            TabelaDeTabelas + "," + TabelaLocDeTabelas + " WHERE sTABnome*=sLTBtab and sLTBemp='" +
            Literal(empresa) + "' ORDER BY iTABtab");
    }
    if (listas) {
        com(" SELECT iLSTlst, sLSTconst, iLSTtit, sLSTsql FROM " + TabelaDeListas +
            " ORDER BY iLSTlst");
    }
    std::shared_ptr<kvlRES> R = Exec();

    if (tabelas) {
        MostraProgresso(form.get(), lingua.get(), kFraseTabelas);
        Tabelas_.assign(1, {});
        while (R && R->TemLinhas()) LeTabelaDoCatálogo(*R, lingua.get(), empresa, DBMãe);
        // Only now is every table known, so a list SQL may name any of them.
        for (size_t i = 1; i < Tabelas_.size(); ++i) {
            Tabelas_[i].LstSQL = TabelasColecçõesCarrega_CorrigeSQL(std::move(Tabelas_[i].LstSQL),
                                                                    static_cast<int16_t>(i));
        }
        // A batch that failed has no second result to move to.
        if (R && !R->erro) R->MaisResultados();
    }
    if (listas) {
        MostraProgresso(form.get(), lingua.get(), kFraseListas);
        Listas_.assign(1, {});
        while (R && R->TemLinhas()) LeListaDoCatálogo(*R, lingua.get());
    }
    if (form) form->Msg(Variant(""), Variant(""), std::nullopt);
}

void kvlSERV::LeTabelaDoCatálogo(const kvlRES& R, Language* lingua, const std::string& empresa,
                                 const std::optional<std::string>& mae) {
    TabelaColecção& t = Cresce(Tabelas_, NumeroDoCatálogo(R.Col(1)));
    t.NTit = R.Col(3).ToInt16();
    if (lingua) {
        t.Tit = lingua->Palavra(R.Col(3)).ToString();
        t.Lst = lingua->Palavra(R.Col(7)).ToString();
    }
    t.LstSQL = R.Col(8).ToString();

    const std::string nome = R.Col(2).ToString();
    if (std::string destino = R.Col(6).ToString(); !destino.empty()) {
        t.Loc = destino + ".dbo." + nome;
        return;
    }
    // Each later letter overrides the earlier: the company's own database wins over the
    // mother database, and a bare name over both.
    const std::string app = R.Col(9).ToString();
    if (app.find('S') != std::string::npos) {
        if (!mae) throw Error(kTypeMismatch);
        t.Loc = *mae + ".dbo." + nome;
    }
    if (app.find('N') != std::string::npos) t.Loc = empresa + ".dbo." + nome;
    if (app.find('F') != std::string::npos) t.Loc = nome;
}

void kvlSERV::LeListaDoCatálogo(const kvlRES& R, Language* lingua) {
    size_t k = NumeroDoCatálogo(R.Col(1));
    ListaColecção& l = Cresce(Listas_, k);
    if (lingua) l.Tit = lingua->Palavra(R.Col(3)).ToString();
    // A "from @" in list k names table k.
    l.SQL = TabelasColecçõesCarrega_CorrigeSQL(R.Col(4).ToString(), static_cast<int16_t>(k));
}

void kvlSERV::TabelasColecçõesItemTab(int16_t Index, std::string* Loc, Variant* Tit, Variant* NTit,
                                      std::string* Lst, std::string* LstSQL) const {
    const TabelaColecção& t = EntradaEm(Tabelas_, Index);
    if (Loc) *Loc = t.Loc;
    if (Tit) {
        *Tit =
            Index == 0 ? Variant(static_cast<int32_t>(LimiteSuperior(Tabelas_))) : Variant(t.Tit);
    }
    if (NTit) *NTit = Variant(t.NTit);
    if (Lst) *Lst = t.Lst;
    if (LstSQL) *LstSQL = t.LstSQL;
}

void kvlSERV::TabelasColecçõesItemLst(int16_t Index, std::string* Tit, std::string* SQL) const {
    const ListaColecção& l = EntradaEm(Listas_, Index);
    if (Tit) *Tit = Index == 0 ? std::to_string(LimiteSuperior(Listas_)) : l.Tit;
    if (SQL) *SQL = l.SQL;
}

int16_t kvlSERV::TabelasColecçõesItemTabCount() const {
    return LimiteSuperior(Tabelas_);
}

int16_t kvlSERV::TabelasColecçõesItemLstCount() const {
    return LimiteSuperior(Listas_);
}

std::string kvlSERV::TabelasColecçõesTabLoc(int16_t Index) const {
    return EntradaEm(Tabelas_, Index).Loc;
}

int16_t kvlSERV::TabelasColecçõesNTit(int16_t Index) const {
    return EntradaEm(Tabelas_, Index).NTit;
}

}  // namespace kvl
