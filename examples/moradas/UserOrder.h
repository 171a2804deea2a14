#pragma once
// Names in the order of the user's language: the databases order texts by their bytes, which
// puts "Évora" after "Porto".

#include <QCollator>
#include <string>

#include "kvl/Variant.h"

namespace kvl {
class kvlSERV;
}

namespace moradas {

// Whether a comes before b for the user (the collation of the user's locale).
class UserOrder {
  public:
    UserOrder();
    bool operator()(const std::string& a, const std::string& b) const;

  private:
    QCollator collator_;
};

// ListaEnche of list (a list control) with the query's rows, entered in the user's order; the
// codes array back in that order, still from index -1.
kvl::Variant FillInUserOrder(kvl::kvlSERV& s, const kvl::Variant& list, const std::string& sql);

}  // namespace moradas
