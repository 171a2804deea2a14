// Reading and merging the rights of the permission table.

#include "Permissions.h"

#include <algorithm>

#include "../server/SessionImpl.h"
#include "kvl/ClientObjects.h"
#include "kvl/Text.h"

namespace kvl {

namespace services {

namespace {

// Each grant letter is followed in the alphabet by its deny letter.
constexpr std::array<char, 6> kGrantLetters{'a', 'c', 'n', 'g', 'e', 'l'};

template <class List>
auto Find(List& list, std::string_view code) {
    std::string lower = Minusculas(code);
    return std::find_if(list.begin(), list.end(), [&](const auto& e) { return e.code == lower; });
}

}  // namespace

void Permissions::Clear() {
    user_.clear();
    group_.clear();
}

void Permissions::Load(Runner& run, kvlSERV& s) {
    LoadFor(run, s, s.DB);
}

void Permissions::LoadFor(Runner& run, kvlSERV& s, std::string_view database) {
    if (s.TabelaDePerm.empty()) return;
    Clear();
    s.Grupo.clear();

    // The group is found in the server's user catalogue; where it has none the query fails
    // through the usual error check and the group stays empty.
    std::string users = std::string(database) + ".dbo.sysusers";
    Answer group =
        run.QueryAfterPending(" SELECT name FROM " + users + " WHERE uid=(SELECT gid FROM " +
                              users + " WHERE name='" + run.Literal(s.UID) + "')");
    if (!group.Set(0).empty()) s.Grupo = group.Set(0).front().Col(1).ToString();

    Read(run, s, s.UID, database, user_);
    Read(run, s, s.Grupo, database, group_);
    Simplify();
}

void Permissions::Read(Runner& run, const kvlSERV& s, std::string_view owner,
                       std::string_view database, std::vector<Entry>& into) {
    if (!s.Aberto) return;
    Answer a =
        run.QueryAfterPending(" SELECT sPERMopc,sPERMperm FROM " + s.TabelaDePerm +
                              " WHERE sPERMuid='" + run.Literal(owner) + "' AND ( sPERMemp='" +
                              run.Literal(database) + "' OR sPERMemp='' ) order by sPERMopc");
    for (const Row& row : a.Set(0)) {
        Entry e;
        e.code = Minusculas(row.Col(1).ToString());
        // Letters count only in lower case; anything else in the text is ignored.
        std::string letters = row.Col(2).ToString();
        for (size_t i = 0; i < kGrantLetters.size(); ++i) {
            e.grants[i] = letters.find(kGrantLetters[i]) != std::string::npos;
            e.denies[i] =
                letters.find(static_cast<char>(kGrantLetters[i] + 1)) != std::string::npos;
        }
        into.push_back(std::move(e));
    }
}

void Permissions::Simplify() {
    for (Entry& e : user_) {
        for (size_t i = 0; i < e.grants.size(); ++i) e.grants[i] = e.grants[i] && !e.denies[i];
        auto g = Find(group_, e.code);
        if (g == group_.end()) continue;
        for (size_t i = 0; i < e.grants.size(); ++i)
            if (!e.grants[i] && !e.denies[i]) e.grants[i] = g->grants[i];
    }
    for (const Entry& g : group_) {
        if (Find(user_, g.code) != user_.end()) continue;
        user_.push_back({g.code, g.grants, {}});
    }
}

bool Permissions::OfUser(std::string_view code, Rights& out) const {
    auto e = Find(user_, code);
    out = e != user_.end() ? e->grants : Rights{};
    return e != user_.end();
}

bool Permissions::OfGroup(std::string_view code, Rights& out) const {
    auto e = Find(group_, code);
    if (e == group_.end()) return false;
    out = e->grants;
    return true;
}

}  // namespace services

namespace {

enum Right { kAccess, kView, kCreate, kSave, kDelete, kList };

// The server's built-in administrator login, which holds every right.
bool SuperUser(const kvlSERV& s) {
    return Minusculas(s.UID) == "sa";
}

void Write(const std::array<Variant*, 6>& into, const services::Permissions::Rights& rights) {
    for (size_t i = 0; i < into.size(); ++i)
        if (into[i]) *into[i] = Variant(rights[i]);
}

// The one right of an option, as TabelaPerm reports it.
bool Has(kvlSERV& s, std::string_view code, Right r) {
    std::array<Variant, 6> v;
    s.TabelaPerm(code, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    return v[r].ToBool();
}

}  // namespace

void kvlSERV::TabelaPermCarrega(std::string_view BaseDeDados) {
    impl().permissions.LoadFor(impl().runner, *this, BaseDeDados);
}

void kvlSERV::TabelaPermSimplifica() {
    impl().permissions.Simplify();
}

bool kvlSERV::TabelaPerm(std::string_view CodigoOpc, Variant* Acesso, Variant* Consulta,
                         Variant* Criação, Variant* Gravar, Variant* Eliminar, Variant* Listar) {
    std::array<Variant*, 6> into{Acesso, Consulta, Criação, Gravar, Eliminar, Listar};
    services::Permissions::Rights rights{true, true, true, true, true, true};
    bool exists = SuperUser(*this) || impl().permissions.OfUser(CodigoOpc, rights);
    Write(into, rights);
    return exists;
}

bool kvlSERV::TabelaPermGrupo(std::string_view CodigoOpc, Variant* Acesso, Variant* Consulta,
                              Variant* Novo, Variant* Gravar, Variant* Eliminar, Variant* Listar) {
    std::array<Variant*, 6> into{Acesso, Consulta, Novo, Gravar, Eliminar, Listar};
    services::Permissions::Rights rights{true, true, true, true, true, true};
    if (!SuperUser(*this) && !impl().permissions.OfGroup(CodigoOpc, rights)) return false;
    Write(into, rights);
    return true;
}

bool kvlSERV::TabelaPermTemAcesso(std::string_view CodigoOpc) {
    return Has(*this, CodigoOpc, kAccess);
}
bool kvlSERV::TabelaPermTemConsulta(std::string_view CodigoOpc) {
    return Has(*this, CodigoOpc, kView);
}
bool kvlSERV::TabelaPermTemInserção(std::string_view CodigoOpc) {
    return Has(*this, CodigoOpc, kCreate);
}
bool kvlSERV::TabelaPermTemAlteração(std::string_view CodigoOpc) {
    return Has(*this, CodigoOpc, kSave);
}
bool kvlSERV::TabelaPermTemEliminação(std::string_view CodigoOpc) {
    return Has(*this, CodigoOpc, kDelete);
}
bool kvlSERV::TabelaPermTemListagem(std::string_view CodigoOpc) {
    return Has(*this, CodigoOpc, kList);
}

void kvlSERV::TabelaPermVerifica(const Variant& Janela) {
    for (const auto& control : ClientObject<Window>(Janela)->Controls()) {
        if (!control) throw Error(kObjectNotSet);
        std::string tag = control->Tag();
        if (!control->IsMenuItem() || tag.empty()) continue;
        Variant access;
        TabelaPerm(tag, &access);
        control->SetEnabled(access.ToBool());
    }
}

}  // namespace kvl
