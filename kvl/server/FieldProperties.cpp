// The cache of field properties: records derived from catalog rows, and the three ways of
// reading it.

#include <langinfo.h>
#include <locale.h>

#include <charconv>
#include <limits>

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

void DerivaNumerico(CampoProps& c, RowSource& linha, const std::string& separador) {
    c.NDec = Variant(ValorNumerico(linha.Col(5))).ToInt16();
    c.NInt = Variant(ValorNumerico(linha.Col(4)) - c.NDec).ToInt16();
    switch (c.Tipo) {
        case kTipoTinyInt:
            c.Max = 255;
            c.Min = 0;
            break;
        case kTipoSmallInt:
            c.Max = std::numeric_limits<int16_t>::max();
            c.Min = std::numeric_limits<int16_t>::min();
            break;
        case kTipoInt:
            c.Max = std::numeric_limits<int32_t>::max();
            c.Min = std::numeric_limits<int32_t>::min();
            break;
        case kTipoReal:
        case kTipoFloat:
            c.Max = kMaiorReal;
            c.Min = -kMaiorReal;
            break;
        case kTipoDecimal:
            c.Max = NovesDecimais(c.NInt, c.NDec);
            c.Min = -c.Max;
            break;
        default:
            c.Max = c.Min = 0;
    }
    c.Largura = Em16Bits(c.NInt + c.NDec + (c.NDec > 0 ? 1 : 0));
    c.Formato = TipoSeDec(c.Tipo) ? "{-+#." + std::string(std::max<int16_t>(c.NDec, 0), '0') + "}"
                                  : "{-+#}";
    c.Formato += "(" + NumeroLocal(c.Min, separador) + ">" + NumeroLocal(c.Max, separador) + ")";
}

// The record of the row linha stands on: columns name, type code, length, precision,
// scale, table id and table name.
CampoProps CampoDe(RowSource& linha, const std::string& separador) {
    CampoProps c;
    c.Tabela = linha.Col(7).ToString();
    c.TabelaId = linha.Col(6).ToInt32();
    c.Campo = linha.Col(1).ToString();
    c.Tipo = linha.Col(2).ToInt16();
    c.Tamanho = linha.Col(3).ToInt32();
    c.SeTipoNum = TipoSeNum(c.Tipo);
    c.SeTipoData = TipoSeData(c.Tipo);
    if (c.SeTipoNum) {
        DerivaNumerico(c, linha, separador);
    } else if (c.SeTipoData) {
        c.Largura = kLarguraDeData;
    } else {
        c.Largura = c.Tipo == kTipoText ? kLarguraDeTexto : c.Tamanho;
        c.Formato = "{}";
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

void kvlSERV::CarregaCampos(RowSource& linhas) {
    std::string separador = SeparadorDecimal();
    while (linhas.TemLinhas()) CamposProps.push_back(CampoDe(linhas, separador));
}

void kvlSERV::CamposPropsCarrega(Variant* RES, std::optional<Variant> Tabela) {
    if (RES) return CarregaCampos(*LinhasDe(*RES));
    std::optional<NomeDeTabela> tabela;
    if (Tabela) tabela = DivideNomeDeTabela(Tabela->ToString(), connectionType);
    ComConsultaDoCatalogo(*this, tabela ? &*tabela : nullptr);
    if (auto R = Exec()) {
        LinhasDoResultado linhas(std::move(R));
        CarregaCampos(linhas);
    }
}

Variant kvlSERV::CamposPropsInfo(std::string_view Tabela, std::optional<Variant> Recursiva_2Vez,
                                 std::optional<Variant> Campo) {
    std::string nome = DivideNomeDeTabela(Tabela, connectionType).nome;
    std::string campo = Campo ? Campo->ToString() : "";
    // The records of one table lie together: the first that does not match after one
    // that did ends them.
    std::vector<size_t> achados;
    for (size_t i = 0; i < CamposProps.size(); ++i) {
        const CampoProps& c = CamposProps[i];
        if (c.Tabela == nome && (campo.empty() || c.Campo == campo)) {
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
        const CampoProps& c = CamposProps[i];
        const Variant valores[] = {c.Tabela,    c.TabelaId, c.Campo,     c.Tipo, c.Tamanho,
                                   c.SeTipoNum, c.NInt,     c.NDec,      c.Max,  c.Min,
                                   c.Largura,   c.Formato,  c.SeTipoData};
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
    for (const CampoProps& c : CamposProps)
        if (c.Campo == Nome) return !c.SeTipoNum;
    return false;
}

}  // namespace kvl
