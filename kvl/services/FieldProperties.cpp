// The cache of field properties: records derived from catalog rows, and the three ways of
// reading it.

#include "FieldProperties.h"

#include <langinfo.h>
#include <locale.h>

#include <charconv>
#include <limits>

#include "../server/SessionImpl.h"
#include "Catalog.h"
#include "kvl/ClientObjects.h"
#include "kvl/TypeCodes.h"
#include "kvl/kvlRES.h"

namespace kvl {

namespace {

constexpr double kMaiorReal = 3.4E+27;
constexpr int32_t kLarguraDeData = 20;
constexpr int32_t kLarguraDeTexto = 1000000;

// The decimal separator of the user's locale (LC_NUMERIC of the environment), read
// without touching the process's own locale, which other threads may be using. A locale
// the system lacks gives the plain point.
std::string SeparadorDecimal() {
    locale_t local = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (!local) return ".";
    std::string separador = nl_langinfo_l(RADIXCHAR, local);
    freelocale(local);
    return separador.empty() ? "." : separador;
}

// A number as it is shown to the user: up to 15 significant digits, the exponent form
// for large ones (3.4E+27), and the locale's separator.
std::string NumeroLocal(double d, const std::string& separador) {
    if (d == 0) d = 0;  // never "-0"
    char texto[32];
    auto fim = std::to_chars(texto, texto + sizeof texto, d, std::chars_format::general, 15).ptr;
    std::string s(texto, fim);
    if (size_t e = s.find('e'); e != std::string::npos) s[e] = 'E';
    if (size_t p = s.find('.'); p != std::string::npos) s.replace(p, 1, separador);
    return s;
}

// The number a catalog value holds, where a NULL (read as "") counts as 0.
double ValorNumerico(const Variant& v) {
    const std::string* texto = v.IfString();
    if (texto && texto->find_first_not_of(' ') == std::string::npos) return 0;
    return v.ToDouble();
}

int16_t Em16Bits(int32_t n) {
    if (n < std::numeric_limits<int16_t>::min() || n > std::numeric_limits<int16_t>::max())
        throw Error(kOverflow);
    return static_cast<int16_t>(n);
}

// nInt nines, a point and nDec nines (999.99 for 3 and 2).
double NovesDecimais(int16_t nInt, int16_t nDec) {
    std::string noves(std::max<int16_t>(nInt, 0), '9');
    if (nDec > 0) noves += "." + std::string(nDec, '9');
    if (noves.empty()) return 0;
    double valor = 0;
    auto [fim, erro] = std::from_chars(noves.data(), noves.data() + noves.size(), valor);
    if (erro != std::errc()) throw Error(kOverflow);
    return valor;
}

void DerivaNumerico(services::FieldProperties::Field& c, RowSource& linha,
                    const std::string& separador) {
    c.ndec = Variant(ValorNumerico(linha.Col(5))).ToInt16();
    c.nint = Variant(ValorNumerico(linha.Col(4)) - c.ndec).ToInt16();
    switch (c.type) {
        case kTipoTinyInt:
            c.max = 255;
            c.min = 0;
            break;
        case kTipoSmallInt:
            c.max = std::numeric_limits<int16_t>::max();
            c.min = std::numeric_limits<int16_t>::min();
            break;
        case kTipoInt:
            c.max = std::numeric_limits<int32_t>::max();
            c.min = std::numeric_limits<int32_t>::min();
            break;
        case kTipoReal:
        case kTipoFloat:
            c.max = kMaiorReal;
            c.min = -kMaiorReal;
            break;
        case kTipoDecimal:
            // A decimal declared without precision takes any number, like a numeric without
            // precision, which the catalog reports as a float.
            c.max = c.nint + c.ndec > 0 ? NovesDecimais(c.nint, c.ndec) : kMaiorReal;
            c.min = -c.max;
            break;
        default:
            c.max = c.min = 0;
    }
    c.width = Em16Bits(c.nint + c.ndec + (c.ndec > 0 ? 1 : 0));
    c.format = TipoSeDec(c.type) ? "{-+#." + std::string(std::max<int16_t>(c.ndec, 0), '0') + "}"
                                 : "{-+#}";
    c.format += "(" + NumeroLocal(c.min, separador) + ">" + NumeroLocal(c.max, separador) + ")";
}

// The record of the row linha stands on: columns name, type code, length, precision,
// scale, table id and table name.
services::FieldProperties::Field CampoDe(RowSource& linha, const std::string& separador) {
    services::FieldProperties::Field c;
    c.table = linha.Col(7).ToString();
    c.tableId = linha.Col(6).ToInt32();
    c.name = linha.Col(1).ToString();
    c.type = linha.Col(2).ToInt16();
    c.size = linha.Col(3).ToInt32();
    c.numeric = TipoSeNum(c.type);
    c.date = TipoSeData(c.type);
    if (c.numeric) {
        DerivaNumerico(c, linha, separador);
    } else if (c.date) {
        c.width = kLarguraDeData;
    } else {
        c.width = c.type == kTipoText ? kLarguraDeTexto : c.size;
        c.format = "{}";
    }
    return c;
}

// A kvlRES offers TemLinhas and Col of its own.
class LinhasDoResultado : public RowSource {
  public:
    explicit LinhasDoResultado(std::shared_ptr<kvlRES> r) : r_(std::move(r)) {}
    bool TemLinhas() override { return r_->TemLinhas(); }
    Variant Col(int16_t nIndex) override { return r_->Col(nIndex); }

  private:
    std::shared_ptr<kvlRES> r_;
};

// The rows of a query's answer, read one by one.
class LinhasDaResposta : public RowSource {
  public:
    explicit LinhasDaResposta(const services::Rows& rows) : rows_(rows) {}
    bool TemLinhas() override { return ++next_ <= rows_.size(); }
    Variant Col(int16_t nIndex) override { return rows_[next_ - 1].Col(nIndex); }

  private:
    const services::Rows& rows_;
    size_t next_ = 0;
};

std::shared_ptr<RowSource> LinhasDe(const Variant& RES) {
    if (RES.kind() == Variant::Kind::Object)
        if (auto r = std::dynamic_pointer_cast<kvlRES>(RES.object()))
            return std::make_shared<LinhasDoResultado>(std::move(r));
    return ClientObject<RowSource>(RES);
}

// A two-dimensional array of rows primeira.. (count linhas) and columns 0..n.
VariantArray Matriz(int32_t primeira, int32_t linhas, size_t n) {
    VariantArray a;
    a.bounds = {{primeira, linhas}, {0, static_cast<int32_t>(n + 1)}};
    a.items.resize(static_cast<size_t>(linhas) * (n + 1));
    return a;
}

}  // namespace

void services::FieldProperties::Append(RowSource& rows) {
    std::string separador = SeparadorDecimal();
    while (rows.TemLinhas()) fields_.push_back(CampoDe(rows, separador));
}

void kvlSERV::CamposPropsCarrega(Variant* RES, std::optional<Variant> Tabela) {
    auto& cache = impl().fields;
    if (RES) return cache.Append(*LinhasDe(*RES));
    std::optional<services::TableName> table;
    if (Tabela) table = services::SplitTableName(Tabela->ToString(), connectionType);
    services::Runner& run = impl().runner;
    services::Answer a =
        run.QueryAfterPending(services::CatalogQuery(*this, run, table ? &*table : nullptr));
    LinhasDaResposta rows(a.Set(0));
    cache.Append(rows);
}

Variant kvlSERV::CamposPropsInfo(std::string_view Tabela, std::optional<Variant> Recursiva_2Vez,
                                 std::optional<Variant> Campo) {
    std::string nome = services::SplitTableName(Tabela, connectionType).name;
    std::string campo = Campo ? Campo->ToString() : "";
    const auto& fields = impl().fields.fields();
    // The records of one table lie together: the first that does not match after one
    // that did ends them.
    std::vector<size_t> achados;
    for (size_t i = 0; i < fields.size(); ++i) {
        const auto& c = fields[i];
        if (c.table == nome && (campo.empty() || c.name == campo)) {
            achados.push_back(i);
        } else if (!achados.empty()) {
            break;
        }
    }
    if (achados.empty() && !(Recursiva_2Vez && Recursiva_2Vez->ToBool())) {
        CamposPropsCarrega(nullptr, Variant(std::string(Tabela)));
        return CamposPropsInfo(Tabela, Variant(true), Campo);
    }

    VariantArray p = Matriz(1, 13, achados.size());
    for (int32_t n = 1; const size_t i : achados) {
        const auto& c = fields[i];
        const Variant valores[] = {c.table, c.tableId, c.name, c.type,  c.size,   c.numeric, c.nint,
                                   c.ndec,  c.max,     c.min,  c.width, c.format, c.date};
        for (int32_t linha = 1; const Variant& v : valores) p.At({linha++, n}) = v;
        ++n;
    }
    return Variant(std::move(p));
}
Variant kvlSERV::CamposAnalisa(std::string_view TabelaNome, std::optional<Variant> NomeCampo,
                               std::optional<Variant>, std::optional<Variant>) {
    Variant info = CamposPropsInfo(TabelaNome, Variant(false), Variant(""));
    const VariantArray& p = info.array();
    int32_t n = p.UBound(2);
    std::string nome = NomeCampo ? NomeCampo->ToString() : "";
    // Analysis rows 1 to 10 take these property rows.
    constexpr int32_t kDaPropriedade[] = {3, 4, 5, 6, 8, 7, 9, 10, 11, 12};
    VariantArray a = Matriz(0, 11, static_cast<size_t>(n));
    for (int32_t i = 1; i <= n; ++i) {
        if (!nome.empty() && p.At({3, i}).ToString() != nome) continue;
        for (int32_t linha = 1; const int32_t propriedade : kDaPropriedade)
            a.At({linha++, i}) = p.At({propriedade, i});
    }
    return Variant(std::move(a));
}

bool kvlSERV::CamposQuerPlicas(std::string_view Nome) const {
    for (const auto& c : impl().fields.fields())
        if (c.name == Nome) return !c.numeric;
    return false;
}

}  // namespace kvl
