// Per-option rights of the connected user and of the user's database group, loaded from
// the permission table, merged, and answered from memory.

#include <algorithm>

#include "kvl/ClientObjects.h"
#include "kvl/Text.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvl {

namespace {

// The six rights, in the order of an entry's flags: each grant letter is followed in the
// alphabet by its deny letter.
constexpr std::array<char, 6> kConcede{'a', 'c', 'n', 'g', 'e', 'l'};
enum Direito { kAcesso, kConsulta, kCriacao, kGravar, kEliminar, kListar };

// The server's built-in administrator login, which holds every right.
constexpr std::string_view kSuperUtilizador = "sa";

template <class Lista>
auto Procura(Lista& lista, std::string_view CodigoOpc) {
    std::string codigo = Minusculas(CodigoOpc);
    return std::find_if(lista.begin(), lista.end(),
                        [&](const auto& p) { return p.Codigo == codigo; });
}

void Escreve(const std::array<Variant*, 6>& destinos, const std::array<bool, 6>& valores) {
    for (size_t i = 0; i < destinos.size(); ++i)
        if (destinos[i]) *destinos[i] = Variant(valores[i]);
}

}  // namespace

bool kvlSERV::SuperUtilizador() const {
    return Minusculas(UID) == kSuperUtilizador;
}

void kvlSERV::TabelaPermCarrega(std::string_view BaseDeDados) {
    if (TabelaDePerm.empty()) return;
    PermUtilizador.clear();
    PermGrupo.clear();
    Grupo.clear();

    // The group is found in the server's user catalogue; where it has none the query
    // fails through the usual error check and the group stays empty.
    std::string catalogo = std::string(BaseDeDados) + ".dbo.sysusers";
    com("SELECT name FROM " + catalogo);
    com("WHERE uid=(SELECT gid FROM " + catalogo + " WHERE name='" + Literal(UID) + "')");
    if (auto R = Exec(); R && R->TemLinhas()) Grupo = R->Col(1).ToString();

    TabelaPermLe(UID, BaseDeDados, PermUtilizador);
    TabelaPermLe(Grupo, BaseDeDados, PermGrupo);
    TabelaPermSimplifica();
}

void kvlSERV::TabelaPermLe(std::string_view Dono, std::string_view BaseDeDados,
                           std::vector<Permissao>& Lista) {
    if (TabelaDePerm.empty() || !Aberto) return;
    com("SELECT sPERMopc,sPERMperm FROM " + TabelaDePerm);
    com("WHERE sPERMuid='" + Literal(Dono) + "' AND ( sPERMemp='" + Literal(BaseDeDados) +
        "' OR sPERMemp='' )");
    com("order by sPERMopc");
    auto R = Exec();
    if (!R) return;
    while (R->TemLinhas()) {
        Permissao p;
        p.Codigo = Minusculas(R->Col(1).ToString());
        // Letters count only in lower case; anything else in the text is ignored.
        std::string letras = R->Col(2).ToString();
        for (size_t i = 0; i < kConcede.size(); ++i) {
            p.Concede[i] = letras.find(kConcede[i]) != std::string::npos;
            p.Nega[i] = letras.find(static_cast<char>(kConcede[i] + 1)) != std::string::npos;
        }
        Lista.push_back(std::move(p));
    }
}

void kvlSERV::TabelaPermSimplifica() {
    for (Permissao& p : PermUtilizador) {
        for (size_t i = 0; i < p.Concede.size(); ++i) p.Concede[i] = p.Concede[i] && !p.Nega[i];
        // Where the user's row says nothing about a right, the group's grant applies.
        auto g = Procura(PermGrupo, p.Codigo);
        if (g == PermGrupo.end()) continue;
        for (size_t i = 0; i < p.Concede.size(); ++i)
            if (!p.Concede[i] && !p.Nega[i]) p.Concede[i] = g->Concede[i];
    }
    // Options only the group has are granted as the group has them.
    for (const Permissao& g : PermGrupo) {
        if (Procura(PermUtilizador, g.Codigo) != PermUtilizador.end()) continue;
        PermUtilizador.push_back({g.Codigo, g.Concede, {}});
    }
}

bool kvlSERV::TabelaPerm(std::string_view CodigoOpc, Variant* Acesso, Variant* Consulta,
                         Variant* Criação, Variant* Gravar, Variant* Eliminar, Variant* Listar) {
    std::array<Variant*, 6> destinos{Acesso, Consulta, Criação, Gravar, Eliminar, Listar};
    if (SuperUtilizador()) {
        Escreve(destinos, {true, true, true, true, true, true});
        return true;
    }
    auto p = Procura(PermUtilizador, CodigoOpc);
    bool existe = p != PermUtilizador.end();
    Escreve(destinos, existe ? p->Concede : std::array<bool, 6>{});
    return existe;
}

bool kvlSERV::TabelaPermGrupo(std::string_view CodigoOpc, Variant* Acesso, Variant* Consulta,
                              Variant* Novo, Variant* Gravar, Variant* Eliminar, Variant* Listar) {
    std::array<Variant*, 6> destinos{Acesso, Consulta, Novo, Gravar, Eliminar, Listar};
    if (SuperUtilizador()) {
        Escreve(destinos, {true, true, true, true, true, true});
        return true;
    }
    auto g = Procura(PermGrupo, CodigoOpc);
    if (g == PermGrupo.end()) return false;
    Escreve(destinos, g->Concede);
    return true;
}

namespace {

// The one right of an option, as TabelaPerm reports it.
bool Tem(kvlSERV& s, std::string_view CodigoOpc, Direito d) {
    std::array<Variant, 6> v;
    s.TabelaPerm(CodigoOpc, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    return v[d].ToBool();
}

}  // namespace

bool kvlSERV::TabelaPermTemAcesso(std::string_view CodigoOpc) {
    return Tem(*this, CodigoOpc, kAcesso);
}
bool kvlSERV::TabelaPermTemConsulta(std::string_view CodigoOpc) {
    return Tem(*this, CodigoOpc, kConsulta);
}
bool kvlSERV::TabelaPermTemInserção(std::string_view CodigoOpc) {
    return Tem(*this, CodigoOpc, kCriacao);
}
bool kvlSERV::TabelaPermTemAlteração(std::string_view CodigoOpc) {
    return Tem(*this, CodigoOpc, kGravar);
}
bool kvlSERV::TabelaPermTemEliminação(std::string_view CodigoOpc) {
    return Tem(*this, CodigoOpc, kEliminar);
}
bool kvlSERV::TabelaPermTemListagem(std::string_view CodigoOpc) {
    return Tem(*this, CodigoOpc, kListar);
}

void kvlSERV::TabelaPermVerifica(const Variant& Janela) {
    for (const auto& controlo : ClientObject<Window>(Janela)->Controls()) {
        if (!controlo) throw Error(kObjectNotSet);
        std::string tag = controlo->Tag();
        if (!controlo->IsMenuItem() || tag.empty()) continue;
        Variant acesso;
        TabelaPerm(tag, &acesso);
        controlo->SetEnabled(acesso.ToBool());
    }
}

}  // namespace kvl
