// Filling a client's list control and variables from a query.

#include "kvl/ClientObjects.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvl {

Variant kvlSERV::ListaEnche(const Variant& Lista, const std::string& SQL) {
    std::shared_ptr<ListControl> lista = ClientObject<ListControl>(Lista);
    lista->Clear();
    auto R = Exec(SQL);
    // Index -1 is "" so the list's own selection index (-1 for none) finds a code.
    VariantArray codigos;
    codigos.bounds = {{-1, 1}};
    codigos.items = {Variant("")};
    if (!R) return Variant(std::move(codigos));
    bool soTexto = R->Cols == 1;
    while (R->TemLinhas()) {
        if (soTexto) {
            lista->AddItem(R->Col(1).ToString());
            continue;
        }
        lista->AddItem(R->Col(2).ToString());
        codigos.items.push_back(R->Col(1));
        ++codigos.bounds[0].count;
    }
    return Variant(std::move(codigos));
}

bool kvlSERV::VarCarrega(const std::string& SQL, VariantArray& Variaveis) {
    auto R = Exec(SQL);
    if (!R || !R->TemLinhas()) return false;
    // Checked before the first copy, so a short array is left as it was.
    bool cobre = Variaveis.bounds.size() == 1 && Variaveis.LBound() <= 0 &&
                 Variaveis.UBound() >= R->Cols - 1;
    if (!cobre) throw Error(kSubscriptOutOfRange);
    for (int16_t i = 1; i <= R->Cols; ++i) Variaveis.At({i - 1}) = R->Col(i);
    return true;
}

}  // namespace kvl
