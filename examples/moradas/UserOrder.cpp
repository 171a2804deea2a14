#include "UserOrder.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

#include "kvl/ClientObjects.h"
#include "kvl/kvlSERV.h"

namespace moradas {

namespace {

// Takes the entries ListaEnche gives, so they can be put in order before they are shown.
class Gathered : public kvl::ListControl {
  public:
    void Clear() override { items.clear(); }
    void AddItem(const std::string& Item) override { items.push_back(Item); }

    std::vector<std::string> items;
};

// The C locale, a user's who names no language, compares code points; such a user gets the
// Unicode default order instead, which English follows unchanged.
QLocale Collation() {
    const QLocale user;
    return user.language() == QLocale::C ? QLocale(QLocale::English) : user;
}

}  // namespace

UserOrder::UserOrder() : collator_(Collation()) {}

bool UserOrder::operator()(const std::string& a, const std::string& b) const {
    return collator_.compare(QString::fromStdString(a), QString::fromStdString(b)) < 0;
}

kvl::Variant FillInUserOrder(kvl::kvlSERV& s, const kvl::Variant& list, const std::string& sql) {
    auto target = kvl::ClientObject<kvl::ListControl>(list);
    auto gathered = std::make_shared<Gathered>();
    kvl::Variant codes = s.ListaEnche(kvl::Variant(std::shared_ptr<kvl::Object>(gathered)), sql);
    const std::vector<std::string>& items = gathered->items;
    std::vector<size_t> order(items.size());
    std::iota(order.begin(), order.end(), 0);
    const UserOrder before;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return before(items[a], items[b]); });

    // Entry k's code sits at k + 1, after the code of no entry at index -1; a one-column
    // query gives that one only.
    kvl::VariantArray& given = codes.array();
    const bool coded = given.items.size() == items.size() + 1;
    kvl::VariantArray ordered = given;
    target->Clear();
    for (size_t k = 0; k < order.size(); ++k) {
        target->AddItem(items[order[k]]);
        if (coded) ordered.items[k + 1] = given.items[order[k] + 1];
    }
    return kvl::Variant(std::move(ordered));
}

}  // namespace moradas
