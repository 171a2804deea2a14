// Rewriting the SQL stored in the catalogues so that its table placeholders name the
// tables where they live: "from @" is the FROM clause on the entry's own table, "&.name"
// the full name of the catalogued table that name designates.

#include <algorithm>

#include "kvl/Text.h"
#include "kvl/kvlSERV.h"

namespace kvl {

std::string kvlSERV::TabelasColecçõesCarrega_CorrigeSQL(std::string Texto, int16_t Index) const {
    constexpr auto npos = std::string::npos;
    size_t procura = 0;
    if (size_t a = Minusculas(Texto).find("from @"); a != npos) {
        Texto = Texto.substr(0, a) + " FROM " + TabelasColecçõesTabLoc(Index) + " " +
                Texto.substr(a + 6);
        procura = a + 1;
    }
    for (size_t c = Texto.find("&.", procura); c != npos;) {
        size_t nome = c + 2;
        // A name ends at a line break, a blank or a comma, or with the text.
        size_t fim = std::min(
            {Texto.find("\r\n", nome), Texto.find(' ', nome), Texto.find(',', nome), Texto.size()});
        std::string procurado = Minusculas(Texto.substr(nome, fim - nome));
        std::string substituto = Texto.substr(nome, fim - nome);
        for (size_t i = 1; i < Tabelas_.size(); ++i) {
            const std::string& loc = Tabelas_[i].Loc;
            if (!loc.empty() && Minusculas(loc).find(procurado) != npos) {
                substituto = loc;
                break;
            }
        }
        Texto = Texto.substr(0, c) + substituto + Texto.substr(fim);
        // The search resumes after what was put in, however short: a name of one or two
        // letters left as it was must not hide a placeholder right behind it.
        c = Texto.find("&.", c + substituto.size());
    }
    return Texto;
}

}  // namespace kvl
