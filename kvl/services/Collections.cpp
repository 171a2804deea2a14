// Loading the table and list collections, and the session's members that read them.

#include "Collections.h"

#include <algorithm>

#include "../server/SessionImpl.h"
#include "kvl/ClientObjects.h"
#include "kvl/Text.h"

namespace kvl {

namespace services {

namespace {

// The client's phrases shown while each catalogue is read.
constexpr int16_t kTablesPhrase = 386;
constexpr int16_t kListsPhrase = 511;

// A catalogue number as an index: 16-bit like every number of the catalogues (beyond is an
// overflow), and never the unused entry 0 nor below it.
size_t CatalogueNumber(const Variant& column) {
    int16_t n = column.ToInt16();
    if (n < 1) throw Error(kSubscriptOutOfRange);
    return static_cast<size_t>(n);
}

template <class Entry>
Entry& Grow(std::vector<Entry>& collection, size_t k) {
    if (collection.size() <= k) collection.resize(k + 1);
    return collection[k];
}

template <class Entry>
const Entry& At(const std::vector<Entry>& collection, int16_t index) {
    if (index < 0 || static_cast<size_t>(index) >= collection.size())
        throw Error(kSubscriptOutOfRange);
    return collection[static_cast<size_t>(index)];
}

void ShowProgress(ProgressForm* form, Language* language, int16_t phrase) {
    if (!form) return;
    if (language) {
        form->Msg(Variant(""), language->Frase(Variant(phrase)), std::nullopt);
    } else {
        form->Msg(Variant(""), Variant(""), Variant(""));
    }
}

}  // namespace

void Collections::Clear() {
    tables_.assign(1, {});
    lists_.assign(1, {});
}

const Collections::Table& Collections::TableAt(int16_t index) const {
    return At(tables_, index);
}

const Collections::List& Collections::ListAt(int16_t index) const {
    return At(lists_, index);
}

void Collections::Load(Runner& run, const kvlSERV& s, const LoadOptions& o) {
    // Tables without a location row are kept (an outer join), with an empty destination.
    std::string batch;
    if (o.tables) {
        batch +=
            "  SELECT iTABtab, sTABnome, iTABtit, sTABrel, sTABconst, sLTBempdst, iTABlsttit,"
            " sTABlstsql, sTABapp FROM " +
            s.TabelaDeTabelas + "," + s.TabelaLocDeTabelas +
            " WHERE sTABnome*=sLTBtab and sLTBemp='" + run.Literal(o.company) +
            "' ORDER BY iTABtab";
    }
    if (o.lists) {
        batch += "  SELECT iLSTlst, sLSTconst, iLSTtit, sLSTsql FROM " + s.TabelaDeListas +
                 " ORDER BY iLSTlst";
    }
    Answer a = run.QueryAfterPending(batch);

    size_t set = 0;
    if (o.tables) {
        ShowProgress(o.form, o.language, kTablesPhrase);
        tables_.assign(1, {});
        for (const Row& row : a.Set(set)) ReadTable(row, o.language, o);
        // Only now is every table known, so a list SQL may name any of them.
        for (size_t i = 1; i < tables_.size(); ++i)
            tables_[i].lstSql = Rewrite(std::move(tables_[i].lstSql), static_cast<int16_t>(i));
        ++set;
    }
    if (o.lists) {
        ShowProgress(o.form, o.language, kListsPhrase);
        lists_.assign(1, {});
        for (const Row& row : a.Set(set)) ReadList(row, o.language);
    }
    if (o.form) o.form->Msg(Variant(""), Variant(""), std::nullopt);
}

void Collections::ReadTable(const Row& row, Language* language, const LoadOptions& o) {
    Table& t = Grow(tables_, CatalogueNumber(row.Col(1)));
    t.ntit = row.Col(3).ToInt16();
    if (language) {
        t.tit = language->Palavra(row.Col(3)).ToString();
        t.lst = language->Palavra(row.Col(7)).ToString();
    }
    t.lstSql = row.Col(8).ToString();

    const std::string name = row.Col(2).ToString();
    if (std::string destination = row.Col(6).ToString(); !destination.empty()) {
        t.loc = destination + ".dbo." + name;
        return;
    }
    // Each later letter overrides the earlier: the company's own database wins over the
    // mother database, and a bare name over both.
    const std::string app = row.Col(9).ToString();
    if (app.find('S') != std::string::npos) {
        if (!o.mother) throw Error(kTypeMismatch);
        t.loc = *o.mother + ".dbo." + name;
    }
    if (app.find('N') != std::string::npos) t.loc = o.company + ".dbo." + name;
    if (app.find('F') != std::string::npos) t.loc = name;
}

void Collections::ReadList(const Row& row, Language* language) {
    size_t k = CatalogueNumber(row.Col(1));
    List& l = Grow(lists_, k);
    if (language) l.tit = language->Palavra(row.Col(3)).ToString();
    // A "from @" in list k names table k.
    l.sql = Rewrite(row.Col(4).ToString(), static_cast<int16_t>(k));
}

std::string Collections::Rewrite(std::string text, int16_t index) const {
    constexpr auto npos = std::string::npos;
    size_t from = 0;
    if (size_t a = Minusculas(text).find("from @"); a != npos) {
        text = text.substr(0, a) + " FROM " + TableAt(index).loc + " " + text.substr(a + 6);
        from = a + 1;
    }
    for (size_t c = text.find("&.", from); c != npos;) {
        size_t name = c + 2;
        // A name ends at a line break, a blank or a comma, or with the text.
        size_t end = std::min(
            {text.find("\r\n", name), text.find(' ', name), text.find(',', name), text.size()});
        std::string sought = Minusculas(text.substr(name, end - name));
        std::string replacement = text.substr(name, end - name);
        for (size_t i = 1; i < tables_.size(); ++i) {
            const std::string& loc = tables_[i].loc;
            if (!loc.empty() && Minusculas(loc).find(sought) != npos) {
                replacement = loc;
                break;
            }
        }
        text = text.substr(0, c) + replacement + text.substr(end);
        // The search resumes after what was put in, however short: a name of one or two
        // letters left as it was must not hide a placeholder right behind it.
        c = text.find("&.", c + replacement.size());
    }
    return text;
}

}  // namespace services

void kvlSERV::TabelasColecçõesCarrega(std::optional<Variant> FormMSG,
                                      std::optional<Variant> oLingua, std::optional<bool> LeTab,
                                      std::optional<bool> LeLst,
                                      std::optional<std::string> DBActual,
                                      std::optional<std::string> DBMãe) {
    // Objects that are not what they should be fail the call before anything runs.
    std::shared_ptr<ProgressForm> form = FormMSG ? ClientObject<ProgressForm>(*FormMSG) : nullptr;
    std::shared_ptr<Language> language = oLingua ? ClientObject<Language>(*oLingua) : nullptr;
    services::Collections::LoadOptions o;
    o.form = form.get();
    o.language = language.get();
    o.tables = LeTab.value_or(true);
    o.lists = LeLst.value_or(true);
    o.company = DBActual.value_or(DB);
    o.mother = std::move(DBMãe);
    impl().collections.Load(impl().runner, *this, o);
}

std::string kvlSERV::TabelasColecçõesCarrega_CorrigeSQL(std::string Texto, int16_t Index) const {
    return impl().collections.Rewrite(std::move(Texto), Index);
}

void kvlSERV::TabelasColecçõesItemTab(int16_t Index, std::string* Loc, Variant* Tit, Variant* NTit,
                                      std::string* Lst, std::string* LstSQL) const {
    const auto& c = impl().collections;
    const auto& t = c.TableAt(Index);
    if (Loc) *Loc = t.loc;
    if (Tit) *Tit = Index == 0 ? Variant(static_cast<int32_t>(c.TableUpper())) : Variant(t.tit);
    if (NTit) *NTit = Variant(t.ntit);
    if (Lst) *Lst = t.lst;
    if (LstSQL) *LstSQL = t.lstSql;
}

void kvlSERV::TabelasColecçõesItemLst(int16_t Index, std::string* Tit, std::string* SQL) const {
    const auto& c = impl().collections;
    const auto& l = c.ListAt(Index);
    if (Tit) *Tit = Index == 0 ? std::to_string(c.ListUpper()) : l.tit;
    if (SQL) *SQL = l.sql;
}

int16_t kvlSERV::TabelasColecçõesItemTabCount() const {
    return impl().collections.TableUpper();
}

int16_t kvlSERV::TabelasColecçõesItemLstCount() const {
    return impl().collections.ListUpper();
}

std::string kvlSERV::TabelasColecçõesTabLoc(int16_t Index) const {
    return impl().collections.TableAt(Index).loc;
}

int16_t kvlSERV::TabelasColecçõesNTit(int16_t Index) const {
    return impl().collections.TableAt(Index).ntit;
}

}  // namespace kvl
