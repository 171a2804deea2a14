#include "Readers.h"

namespace kvlbench {

namespace {

void AddValue(Checksum& sum, const kvl::kvlRES& r, int16_t n) {
    const kvl::Variant& v = r.Col(n);
    const std::string* text = v.IfString();
    sum.Add(text ? *text : v.ToString(), r.ColSeNull(n));
}

}  // namespace

Checksum PlainChecksum(const Backend& b, const std::string& query) {
    PlainConnection c(b.connectionText);
    Checksum sum;
    ReadPlain(c, query, [&](std::string_view v, bool isNull) { sum.Add(v, isNull); });
    return sum;
}

Checksum CellsChecksum(const Backend& b, const std::string& query) {
    Checksum sum;
    ReadCells(*Open(b), query, [&](const kvl::kvlRES& r, int16_t n) { AddValue(sum, r, n); });
    return sum;
}

Checksum StoredChecksum(const Backend& b, const std::string& query) {
    Checksum sum;
    ReadStored(*Open(b), query, [&](const kvl::kvlRES& r, int16_t n) { AddValue(sum, r, n); });
    return sum;
}

bool SameAsPlain(benchmark::State& state, const Backend& b, const std::string& query,
                 const Checksum& reader) {
    state.SetLabel(reader.Text());
    Checksum plain = PlainChecksum(b, query);
    if (reader == plain) return true;
    state.SkipWithError(
        ("read other values than the plain loop: " + reader.Text() + " against " + plain.Text())
            .c_str());
    return false;
}

}  // namespace kvlbench
