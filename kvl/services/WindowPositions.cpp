// The window-position service and the session's members that use it.

#include "WindowPositions.h"

#include <cctype>
#include <charconv>
#include <limits>
#include <utility>

#include "../server/SessionImpl.h"
#include "kvl/ClientObjects.h"
#include "kvl/Text.h"

namespace kvl {

namespace services {

namespace {

constexpr size_t kMaxKey = 80;
constexpr size_t kMaxUser = 40;
constexpr size_t kPairsPerBatch = 10;
constexpr const char* kColumns =
    "SELECT sPOSform,iPOSleft,iPOStop,iPOSwidth,iPOSheight,iPOSstate,sPOSobs,sPOStabgrelha FROM ";

// The first n characters of a text, never splitting one.
std::string_view First(std::string_view text, size_t n) {
    return text.substr(0, OffsetDoCaracter(text, n));
}

// UID as the position table stores it: cut alike wherever records are read, deleted or
// written, so a long login's records are found and replaced.
std::string User(const kvlSERV& s) {
    return std::string(First(s.UID, kMaxUser));
}

// The number the text begins with (0 when it begins with none), as a stored column that
// holds a number in any form is read.
double LeadingNumber(std::string_view text) {
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos) return 0;
    text.remove_prefix(i);
    if (text.front() == '+') text.remove_prefix(1);
    size_t digit = !text.empty() && text.front() == '-' ? 1 : 0;
    // Only digits or a point start a number: no infinities or NaNs from the text.
    if (digit >= text.size() ||
        !(std::isdigit(static_cast<unsigned char>(text[digit])) || text[digit] == '.'))
        return 0;
    double d = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
    if (ec == std::errc::result_out_of_range) throw Error(kOverflow);
    return ec == std::errc() ? d : 0;
}

WindowPositions::Position FromRow(const Row& row) {
    auto number = [&](int16_t n) { return Variant(LeadingNumber(row.Col(n).ToString())); };
    WindowPositions::Position p;
    p.form = row.Col(1).ToString();
    p.left = number(2).ToInt32();
    p.top = number(3).ToInt32();
    p.width = number(4).ToInt16();
    p.height = number(5).ToInt16();
    p.state = number(6).ToInt16();
    p.obs = row.Col(7).ToString();
    p.grid = row.Col(8).ToString();
    return p;
}

}  // namespace

WindowPositions::Position* WindowPositions::Entry(std::string_view form) {
    for (Position& p : cache_)
        if (p.form == form) return &p;
    return nullptr;
}

const WindowPositions::Position* WindowPositions::Find(std::string_view form) const {
    return const_cast<WindowPositions*>(this)->Entry(form);
}

void WindowPositions::Put(Position p) {
    if (Position* old = Entry(p.form)) {
        *old = std::move(p);
    } else {
        cache_.push_back(std::move(p));
    }
}

void WindowPositions::Load(Runner& run, kvlSERV& s) {
    if (s.TabelaDePos.empty() || !s.Aberto) return;
    Answer a = run.Query(kColumns + s.TabelaDePos + " WHERE sPOSuser='" + run.Literal(User(s)) +
                         "' AND (sPOSapp='" + run.Literal(s.Aplicação) + "' OR sPOSapp IS NULL)");
    // Row n becomes entry n; entries past the rows read go, a changed flag stays.
    const Rows& rows = a.Set(0);
    if (rows.empty()) return;
    cache_.resize(rows.size());
    for (size_t n = 0; n < rows.size(); ++n) {
        bool changed = cache_[n].changed;
        cache_[n] = FromRow(rows[n]);
        cache_[n].changed = changed;
    }
}

void WindowPositions::Save(Runner& run, const kvlSERV& s) {
    Write(run, s, !s.SqlMix);
}

void WindowPositions::Write(Runner& run, const kvlSERV& s, bool oneByOne) {
    if (s.TabelaDePos.empty()) return;
    const std::string user = "'" + run.Literal(User(s)) + "'";
    const std::string app = "'" + run.Literal(s.Aplicação) + "'";
    std::vector<std::string> batch;
    // The entries are copied first: a client's window members may not run meanwhile, but a
    // failed write asks the user, and nothing here may depend on what the cache holds then.
    const std::vector<Position> entries = cache_;
    for (const Position& p : entries) {
        if (!p.changed) continue;
        std::string form = "'" + run.Literal(p.form) + "'";
        batch.push_back("delete FROM " + s.TabelaDePos + " WHERE sPOSuser=" + user +
                        " AND sPOSform=" + form + " AND ( sPOSapp=" + app +
                        (s.Aplicação.empty() ? " OR sPOSapp IS NULL" : "") + ")");
        batch.push_back("insert into " + s.TabelaDePos +
                        " (sPOSuser,sPOSform,iPOSleft,iPOStop,iPOSwidth,iPOSheight,iPOSstate,"
                        "sPOSobs,sPOStabgrelha,sPOSapp) values (" +
                        user + "," + form + "," + std::to_string(p.left) + "," +
                        std::to_string(p.top) + "," + std::to_string(p.width) + "," +
                        std::to_string(p.height) + "," + std::to_string(p.state) + ",'" +
                        run.Literal(p.obs) + "','" + run.Literal(p.grid) + "', " + app + ")");
        if (oneByOne || batch.size() == 2 * kPairsPerBatch)
            run.RunTogether(std::exchange(batch, {}));
    }
    if (!batch.empty()) run.RunTogether(batch);
}

bool WindowPositions::Refresh(Runner& run, const kvlSERV& s, const std::string& form,
                              const std::optional<std::string>& previous) {
    if (s.TabelaDePos.empty() || !s.Aberto) return false;
    Answer a = run.Query(kColumns + s.TabelaDePos + " WHERE sPOSuser='" + run.Literal(User(s)) +
                             "' AND sPOSform='" + run.Literal(form) + "' AND ( sPOSapp='" +
                             run.Literal(s.Aplicação) + "')",
                         1);
    if (a.Set(0).empty()) return false;
    Position* p = Entry(previous.value_or(form));
    if (!p) p = &cache_.emplace_back();
    *p = FromRow(a.Set(0).front());  // read as stored: nothing left to write
    return true;
}

}  // namespace services

namespace {

// A window's key: its title (sTitulo, else its Caption) cut before the first "(", which is
// written back into sTitulo, then the first 80 characters, trimmed.
std::string KeyOf(const Variant& oJanela, Variant* sTitulo) {
    std::string title = sTitulo ? sTitulo->ToString() : ClientObject<Window>(oJanela)->Caption();
    if (size_t p = title.find('('); p != std::string::npos) {
        title.resize(p);
        if (sTitulo) *sTitulo = Variant(title);
    }
    return std::string(Apara(services::First(title, services::kMaxKey)));
}

// A size kept in the cache's 16-bit fields; beyond them, error 6.
int16_t Size16(int64_t v) {
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        throw Error(kOverflow);
    return static_cast<int16_t>(v);
}

}  // namespace

void kvlSERV::TabelaPosCarrega() {
    impl().positions.Load(impl().runner, *this);
}

bool kvlSERV::TabelaPosLe(const Variant& oJanela, Variant* sTitulo, Variant* sObs,
                          Variant* sTabGrelha, std::optional<Variant>, std::optional<Variant>) {
    const auto* found = impl().positions.Find(KeyOf(oJanela, sTitulo));
    if (!found) return false;
    // A copy: the window's members are the client's code, which may call back in here.
    const services::WindowPositions::Position p = *found;
    auto window = ClientObject<Window>(oJanela);
    window->SetWindowState(kWindowNormal);
    // A multiple-document parent has no border style; styles 1, 3 and 4 are fixed-size.
    int16_t border = window->IsMdiParent() ? 0 : window->BorderStyle();
    if (border == 1 || border == 3 || border == 4) {
        window->SetLeft(p.left);
        window->SetTop(p.top);
    } else {
        window->Move(p.left, p.top, p.width, p.height);
    }
    window->SetWindowState(p.state);
    if (sObs) *sObs = Variant(p.obs);
    if (sTabGrelha) *sTabGrelha = Variant(p.grid);
    return true;
}

void kvlSERV::TabelaPosGrava(const Variant& oJanela, Variant* sTitulo, Variant* sObs,
                             Variant* sTabGrelha, std::optional<Variant>,
                             std::optional<bool> GravaSoObs, std::optional<Variant>) {
    std::string key = KeyOf(oJanela, sTitulo);
    auto window = ClientObject<Window>(oJanela);
    services::WindowPositions::Position p;
    if (const auto* before = impl().positions.Find(key)) p = *before;
    p.form = key;
    if (!GravaSoObs.value_or(false)) {
        int16_t state = window->WindowState();
        window->SetVisible(false);
        window->SetWindowState(kWindowNormal);
        int64_t left = window->Left(), top = window->Top();
        int64_t width = window->Width(), height = window->Height();
        if (state == kWindowMinimized) {
            left = top = 0;
            width = 3 * int64_t{window->Width()};
            height = 10 * int64_t{window->Height()};
        }
        window->SetWindowState(state);  // the window stays hidden
        // A size the stored columns cannot hold fails before the cache is touched.
        p.width = Size16(width);
        p.height = Size16(height);
        p.left = static_cast<int32_t>(left);
        p.top = static_cast<int32_t>(top);
        p.state = state;
        if (sTabGrelha) p.grid = sTabGrelha->ToString();
    }
    if (sObs) p.obs = sObs->ToString();
    p.changed = true;
    impl().positions.Put(std::move(p));
}

void kvlSERV::TabelaPosGravaTabela(std::optional<bool> LinhaALinha) {
    impl().positions.Write(impl().runner, *this, LinhaALinha.value_or(false));
}

bool kvlSERV::TabelaPosAct(const Variant& oJanela, Variant* sTitulo, Variant* sTituloAnterior) {
    std::string key = KeyOf(oJanela, sTitulo);
    std::optional<std::string> previous;
    if (sTituloAnterior) previous = sTituloAnterior->ToString();
    return impl().positions.Refresh(impl().runner, *this, key, previous);
}

}  // namespace kvl
