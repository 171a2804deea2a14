// kvlRES: describing the columns of a result and reading their metadata.

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "ResultImpl.h"
#include "kvl/Text.h"
#include "kvl/TypeCodes.h"
#include "kvl/kvlSERV.h"

namespace kvl {

namespace {

constexpr int32_t kMaxBytes = 32000;

int16_t Soma16(int32_t a, int32_t b) {
    int32_t s = a + b;
    if (s > std::numeric_limits<int16_t>::max() || s < std::numeric_limits<int16_t>::min())
        throw Error(kOverflow);
    return static_cast<int16_t>(s);
}

// Digits of 256 raised to the column's byte count: the room for an integer's text.
int32_t DigitosDe256Elevado(int32_t bytes) {
    double digits = std::floor(bytes * std::log10(256.0)) + 1;
    return digits > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                        : static_cast<int32_t>(digits);
}

// The room of a value's first read. Text takes up to four bytes a character in UTF-8,
// and drivers report binary sizes for dates, times and big integers, so no room is
// less than the longest text of those; rarer longer values are read on in pieces.
constexpr int64_t kMenorLeitura = 40;
constexpr int64_t kMaiorPrimeiraLeitura = 8192;

bool SeTexto(int16_t sqlType) {
    switch (sqlType) {
        case odbc::kSqlChar:
        case odbc::kSqlVarchar:
        case odbc::kSqlLongVarchar:
        case odbc::kSqlWChar:
        case odbc::kSqlWVarchar:
        case odbc::kSqlWLongVarchar:
            return true;
        default:
            return false;
    }
}

}  // namespace

void kvlRES::Impl::ReservaLeitura(Coluna& c, int32_t chars, bool texto) {
    int64_t bytes = int64_t{std::max(chars, 0)} * (texto ? 4 : 1);
    c.Leitura = static_cast<int32_t>(std::clamp(bytes, kMenorLeitura, kMaiorPrimeiraLeitura)) + 2;
    if (recepcao.size() < static_cast<size_t>(c.Leitura)) recepcao.resize(c.Leitura);
}

void kvlRES::ColunasRedim(std::optional<bool> AutoBufferize) {
    auto& Colunas = impl().Colunas;
    Colunas.clear();
    Colunas.resize(static_cast<size_t>(std::max<int16_t>(Cols, 0)) + 1);
    if (AutoBufferize.value_or(false))
        for (int16_t n = 1; n <= Cols; ++n) ColBuffer(n, Variant(int32_t{1024}));
}

void kvlRES::ColBuffer(int16_t nIndex, const Variant& length) {
    int32_t n = length.ToInt32();
    Coluna& c = impl().C(nIndex);
    impl().ReservaLeitura(c, n, true);
    c.Len = n;
}

void kvlRES::Impl::LogInicio() {
    const auto& Pai = self.Pai;
    if (!Pai || !Pai->Log) return;
    Pai->HistoriaAdd("Set de Resultados",
                     std::to_string(self.Ress) + " (i " + std::to_string(self.Indice) + ") ini");
    self.Tempos = kvlSERV::Milissegundos();
}

void kvlRES::Impl::ComecaResultado() {
    self.Ress = Soma16(self.Ress, 1);
    self.Armazena = self.Armazenou = false;
    LogInicio();
    if (self.Cols > 0) comLinhas = true;
}

void kvlRES::AnalisaColunas() {
    Impl& e = impl();
    e.ComecaResultado();
    for (int16_t n = 1; n <= Cols; ++n) e.DescreveColuna(e.C(n), static_cast<uint16_t>(n));
}

void kvlRES::Impl::DescreveColuna(Coluna& c, uint16_t n) {
    odbc::Api& api = Api();
    const Handle hStmt = self.hStmt;
    odbc::ColumnDescription d;
    Retorno = api.DescribeCol(hStmt, n, d);
    c.Nome = std::move(d.name);
    int16_t tipo = SqlTipoConverte(d.sqlType);
    c.Tipo = Variant(tipo);

    int64_t length = 0;
    Retorno = api.ColAttribute(hStmt, n, odbc::kColumnLength, length);
    length = std::clamp<int64_t>(length, std::numeric_limits<int32_t>::min(),
                                 std::numeric_limits<int32_t>::max());
    c.Len = static_cast<int32_t>(length);
    if (length <= kMaxBytes) {
        c.NBytes = static_cast<int32_t>(length);
    } else {
        c.NBytes = kMaxBytes;
        c.Len = static_cast<int32_t>(length - 2);
    }
    if (!TipoSeNum(tipo)) return ReservaLeitura(c, c.NBytes, SeTexto(d.sqlType));

    int32_t leitura = c.NBytes;
    if (TipoSeDecimal(tipo)) {
        int64_t scale = 0, precision = 0;
        Retorno = api.ColAttribute(hStmt, n, odbc::kColumnScale, scale);
        Retorno = api.ColAttribute(hStmt, n, odbc::kColumnPrecision, precision);
        c.NDec = static_cast<int16_t>(scale);
        c.NInt = Soma16(static_cast<int32_t>(precision), -c.NDec);
        c.Len = Soma16(Soma16(c.NInt, c.NDec), 1);
        c.Max = c.NInt > 0 ? std::pow(10.0, c.NInt) - 1 : 0;
        c.Min = -c.Max;
    } else {
        c.Len = TipoSeDec(tipo) ? 30 : DigitosDe256Elevado(c.NBytes);
        c.NDec = 0;
        c.NInt =
            static_cast<int16_t>(std::min<int32_t>(c.Len, std::numeric_limits<int16_t>::max()));
        leitura = c.Len;
        switch (tipo) {
            case kTipoTinyInt:
                c.Max = 255, c.Min = 0, c.NInt = 3;
                break;
            case kTipoSmallInt:
                c.Max = 32767, c.Min = -32768, c.NInt = 5;
                break;
            case kTipoInt:
                c.Max = 2147483647, c.Min = -2147483648.0, c.NInt = 10;
                break;
            case kTipoReal:  // real and float share the least value of the field-property cache
            case kTipoFloat:
                c.Max = 3.4E+27, c.Min = -3.4E+27, c.NInt = 30;
                break;
            default:
                break;
        }
    }
    c.SeTipoNum = TipoSeNum(tipo);
    c.SeTipoDec = TipoSeDec(tipo);
    ReservaLeitura(c, leitura, false);
}

void kvlRES::Impl::Descreve(bool analisa, bool nomes) {
    odbc::Api& api = Api();
    int64_t linhas = 0;
    Retorno = api.RowCount(self.hStmt, linhas);
    self.LinAfect = static_cast<int32_t>(std::clamp<int64_t>(
        linhas, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    Retorno = api.NumResultCols(self.hStmt, self.Cols);
    self.ColunasRedim(!analisa);
    if (analisa) {
        self.AnalisaColunas();
    } else if (nomes) {
        self.AnalisaColunasNomes();
    } else {
        // A further result read without any description still has its rows to give.
        self.Armazena = self.Armazenou = false;
        comLinhas = self.Cols > 0;
    }
}

void kvlRES::AnalisaColunasNomes() {
    impl().ComecaResultado();
    if (Cols <= 0) return;
    std::string list = StrPar(1, ActCom, "from", nullptr, nullptr, true);
    list = StrPar(2, list, "select", nullptr, nullptr, true);
    int32_t items = StrConta(list, ",") + 1;
    // Items past the result's columns have no column to name.
    for (int32_t i = 1; i <= std::min<int32_t>(items, Cols); ++i) {
        std::string item(Apara(StrPar(i, list, ",")));
        if (size_t dot = item.rfind('.'); dot != std::string::npos) item.erase(0, dot + 1);
        impl().C(static_cast<int16_t>(i)).Nome = std::move(item);
    }
}

Variant kvlRES::ColTipo(int16_t nIndex) const {
    return impl().C(nIndex).Tipo;
}
Variant kvlRES::ColNome(int16_t nIndex) const {
    return Variant(impl().C(nIndex).Nome);
}
Variant kvlRES::ColNomeCompleto(int16_t nIndex) const {
    return Variant(ComandoColuna(ActCom, nIndex, false));
}
Variant kvlRES::ColLen(int16_t nIndex) const {
    return Variant(impl().C(nIndex).Len);
}
Variant kvlRES::ColTituloLen(int16_t nIndex) const {
    const Coluna& c = impl().C(nIndex);
    return Variant(std::max<int32_t>(c.Len, static_cast<int32_t>(ContaCaracteres(c.Nome))));
}
Variant kvlRES::ColNBytes(int16_t nIndex) const {
    return Variant(impl().C(nIndex).NBytes);
}
Variant kvlRES::ColNInt(int16_t nIndex) const {
    return Variant(impl().C(nIndex).NInt);
}
int16_t kvlRES::ColNDec(int16_t nIndex) const {
    return impl().C(nIndex).NDec;
}
Variant kvlRES::ColMax(int16_t nIndex) const {
    return Variant(impl().C(nIndex).Max);
}
Variant kvlRES::ColMin(int16_t nIndex) const {
    return Variant(impl().C(nIndex).Min);
}
bool kvlRES::ColSeTipoNum(int16_t nIndex) const {
    return impl().C(nIndex).SeTipoNum;
}
bool kvlRES::ColSeTipoDec(int16_t nIndex) const {
    return impl().C(nIndex).SeTipoDec;
}

int16_t kvlRES::ColIndex(std::string_view sNome) const {
    const auto& Colunas = impl().Colunas;
    for (int16_t n = 1; n <= Cols && static_cast<size_t>(n) < Colunas.size(); ++n)
        if (Colunas[n].Nome == sNome) return n;
    return -1;
}

Variant kvlRES::XCol(std::string_view sNome) const {
    int16_t n = ColIndex(sNome);
    if (n < 1) throw Error(kSubscriptOutOfRange);
    return impl().C(n).Valor;
}

}  // namespace kvl
