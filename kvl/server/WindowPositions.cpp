// Where each window of the client was, per user and application: a cache loaded at open,
// read and updated by the windows, and written back at close.

#include <cctype>
#include <charconv>
#include <limits>
#include <utility>

#include "kvl/ClientObjects.h"
#include "kvl/Text.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvl {

namespace {

constexpr size_t kChaveMaxima = 80;
constexpr size_t kUtilizadorMaximo = 40;
constexpr size_t kParesPorLote = 10;
constexpr const char* kColunas =
    "SELECT sPOSform,iPOSleft,iPOStop,iPOSwidth,iPOSheight,iPOSstate,sPOSobs,sPOStabgrelha FROM ";

// The first n characters of a text, never splitting one.
std::string_view Primeiros(std::string_view text, size_t n) {
    return text.substr(0, OffsetDoCaracter(text, n));
}

// The window's key: its title (sTitulo, else its Caption) cut before the first "(", which
// is written back into sTitulo, then the first 80 characters, trimmed.
std::string ChaveDe(const Variant& oJanela, Variant* sTitulo) {
    std::string titulo = sTitulo ? sTitulo->ToString() : ClientObject<Window>(oJanela)->Caption();
    if (size_t p = titulo.find('('); p != std::string::npos) {
        titulo.resize(p);
        if (sTitulo) *sTitulo = Variant(titulo);
    }
    return std::string(Apara(Primeiros(titulo, kChaveMaxima)));
}

// The number the text begins with (0 when it begins with none), as a stored column that
// holds a number in any form is read.
double NumeroInicial(std::string_view text) {
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos) return 0;
    text.remove_prefix(i);
    if (text.front() == '+') text.remove_prefix(1);
    size_t digito = !text.empty() && text.front() == '-' ? 1 : 0;
    // Only digits or a point start a number: no infinities or NaNs from the text.
    if (digito >= text.size() ||
        !(std::isdigit(static_cast<unsigned char>(text[digito])) || text[digito] == '.'))
        return 0;
    double d = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
    if (ec == std::errc::result_out_of_range) throw Error(kOverflow);
    return ec == std::errc() ? d : 0;
}

int32_t Inteiro32(const Variant& coluna) {
    return Variant(NumeroInicial(coluna.ToString())).ToInt32();
}

int16_t Inteiro16(const Variant& coluna) {
    return Variant(NumeroInicial(coluna.ToString())).ToInt16();
}

// A size kept in the cache's 16-bit fields; beyond them, error 6.
int16_t Tamanho16(int64_t v) {
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        throw Error(kOverflow);
    return static_cast<int16_t>(v);
}

}  // namespace

std::string kvlSERV::UtilizadorDePosicoes() const {
    // Cut alike wherever records are read, deleted or written, so a long login's records
    // are found and replaced.
    return std::string(Primeiros(UID, kUtilizadorMaximo));
}

kvlSERV::Posicao* kvlSERV::PosicaoDe(std::string_view Form) {
    for (Posicao& p : Posicoes)
        if (p.Form == Form) return &p;
    return nullptr;
}

void kvlSERV::LePosicao(const kvlRES& R, Posicao& p) {
    p.Form = R.Col(1).ToString();
    p.Left = Inteiro32(R.Col(2));
    p.Top = Inteiro32(R.Col(3));
    p.Width = Inteiro16(R.Col(4));
    p.Height = Inteiro16(R.Col(5));
    p.State = Inteiro16(R.Col(6));
    p.Obs = R.Col(7).ToString();
    p.TabGrelha = R.Col(8).ToString();
}

void kvlSERV::TabelaPosCarrega() {
    if (TabelaDePos.empty() || !Aberto) return;
    auto R = Exec(kColunas + TabelaDePos + " WHERE sPOSuser='" + Literal(UtilizadorDePosicoes()) +
                  "' AND (sPOSapp='" + Literal(Aplicação) + "' OR sPOSapp IS NULL)");
    if (!R) return;
    while (R->TemLinhas()) {
        // Row n becomes entry n; entries past the rows read go, a changed flag stays.
        size_t n = static_cast<size_t>(R->Lins);
        Posicoes.resize(n);
        LePosicao(*R, Posicoes[n - 1]);
    }
}

bool kvlSERV::TabelaPosLe(const Variant& oJanela, Variant* sTitulo, Variant* sObs,
                          Variant* sTabGrelha, std::optional<Variant>, std::optional<Variant>) {
    const Posicao* encontrada = PosicaoDe(ChaveDe(oJanela, sTitulo));
    if (!encontrada) return false;
    // A copy: the window's members are the client's code, which may call back in here.
    const Posicao p = *encontrada;
    auto janela = ClientObject<Window>(oJanela);
    janela->SetWindowState(kWindowNormal);
    // A multiple-document parent has no border style; styles 1, 3 and 4 are fixed-size.
    int16_t borda = janela->IsMdiParent() ? 0 : janela->BorderStyle();
    if (borda == 1 || borda == 3 || borda == 4) {
        janela->SetLeft(p.Left);
        janela->SetTop(p.Top);
    } else {
        janela->Move(p.Left, p.Top, p.Width, p.Height);
    }
    janela->SetWindowState(p.State);
    if (sObs) *sObs = Variant(p.Obs);
    if (sTabGrelha) *sTabGrelha = Variant(p.TabGrelha);
    return true;
}

void kvlSERV::TabelaPosGrava(const Variant& oJanela, Variant* sTitulo, Variant* sObs,
                             Variant* sTabGrelha, std::optional<Variant>,
                             std::optional<bool> GravaSoObs, std::optional<Variant>) {
    std::string chave = ChaveDe(oJanela, sTitulo);
    auto janela = ClientObject<Window>(oJanela);
    Posicao nova;
    if (const Posicao* antes = PosicaoDe(chave)) nova = *antes;
    nova.Form = chave;
    if (!GravaSoObs.value_or(false)) {
        int16_t state = janela->WindowState();
        janela->SetVisible(false);
        janela->SetWindowState(kWindowNormal);
        int64_t left = janela->Left(), top = janela->Top();
        int64_t width = janela->Width(), height = janela->Height();
        if (state == kWindowMinimized) {
            left = top = 0;
            width = 3 * int64_t{janela->Width()};
            height = 10 * int64_t{janela->Height()};
        }
        janela->SetWindowState(state);  // the window stays hidden
        // A size the stored columns cannot hold fails before the cache is touched.
        nova.Width = Tamanho16(width);
        nova.Height = Tamanho16(height);
        nova.Left = static_cast<int32_t>(left);
        nova.Top = static_cast<int32_t>(top);
        nova.State = state;
        if (sTabGrelha) nova.TabGrelha = sTabGrelha->ToString();
    }
    if (sObs) nova.Obs = sObs->ToString();
    nova.Mudou = true;
    if (Posicao* p = PosicaoDe(chave)) {
        *p = std::move(nova);
    } else {
        Posicoes.push_back(std::move(nova));
    }
}

void kvlSERV::TabelaPosGravaTabela(std::optional<bool> LinhaALinha) {
    if (TabelaDePos.empty()) return;
    bool cadaUm = LinhaALinha.value_or(false);
    std::string utilizador = "'" + Literal(UtilizadorDePosicoes()) + "'";
    std::string app = "'" + Literal(Aplicação) + "'";
    std::string pendente;
    size_t pares = 0;
    // By index and with a copy of each entry: a run whose link is re-established reopens
    // the session, which loads the cache again.
    for (size_t i = 0; i < Posicoes.size(); ++i) {
        if (!Posicoes[i].Mudou) continue;
        const Posicao p = Posicoes[i];
        std::string form = "'" + Literal(p.Form) + "'";
        pendente += "delete FROM " + TabelaDePos + " WHERE sPOSuser=" + utilizador +
                    " AND sPOSform=" + form + " AND ( sPOSapp=" + app +
                    (Aplicação.empty() ? " OR sPOSapp IS NULL" : "") + ")";
        if (cadaUm) ExecELiberta(std::exchange(pendente, {}));
        pendente += "insert into " + TabelaDePos +
                    " (sPOSuser,sPOSform,iPOSleft,iPOStop,iPOSwidth,iPOSheight,iPOSstate,sPOSobs,"
                    "sPOStabgrelha,sPOSapp) values (" +
                    utilizador + "," + form + "," + std::to_string(p.Left) + "," +
                    std::to_string(p.Top) + "," + std::to_string(p.Width) + "," +
                    std::to_string(p.Height) + "," + std::to_string(p.State) + ",'" +
                    Literal(p.Obs) + "','" + Literal(p.TabGrelha) + "', " + app + ") ";
        if (cadaUm || ++pares == kParesPorLote) {
            ExecELiberta(std::exchange(pendente, {}));
            pares = 0;
        }
    }
    ExecELiberta(std::move(pendente));
}

void kvlSERV::ExecELiberta(std::string Comando) {
    if (Apara(Comando).empty()) return;
    kvlRES R;
    R.ActCom = std::move(Comando);
    int32_t inicio = ExecutaComRepeticao(R);
    if (Log) RegistaExecucao(R, inicio);
    // The slot is given back here, not by R, which may have no Pai to give it to.
    if (SlotVivo(R.Indice, R.lease_.generation)) {
        if (!erro) {
            R.Descreve(false, false);
            LinAfect = R.LinAfect;
        }
        linhasRestantes_ = false;
        StackLiberta(R.Indice);
    }
    R.Indice = 0;
}

bool kvlSERV::TabelaPosAct(const Variant& oJanela, Variant* sTitulo, Variant* sTituloAnterior) {
    std::string chave = ChaveDe(oJanela, sTitulo);
    if (TabelaDePos.empty() || !Aberto) return false;
    auto R =
        Exec(kColunas + TabelaDePos + " WHERE sPOSuser='" + Literal(UtilizadorDePosicoes()) +
             "' AND sPOSform='" + Literal(chave) + "' AND ( sPOSapp='" + Literal(Aplicação) + "')");
    if (!R || !R->TemLinhas()) return false;
    Posicao lida;
    LePosicao(*R, lida);
    Posicao* p = PosicaoDe(sTituloAnterior ? sTituloAnterior->ToString() : chave);
    if (!p) p = &Posicoes.emplace_back();
    *p = std::move(lida);  // read as stored: nothing left to write
    return true;
}

}  // namespace kvl
