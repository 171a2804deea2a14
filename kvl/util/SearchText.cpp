#include "kvl/SearchText.h"

#include <utility>

#include "kvl/Text.h"

namespace kvl {

namespace {

using Troca = std::pair<std::string_view, std::string_view>;

// Accented letters to their plain letter, in the order they are applied.
constexpr Troca kDobras[] = {
    {"á", "a"}, {"à", "a"}, {"â", "a"}, {"ã", "a"}, {"ä", "a"}, {"é", "e"},
    {"è", "e"}, {"ê", "e"}, {"í", "i"}, {"ì", "i"}, {"ó", "o"}, {"ò", "o"},
    {"ô", "o"}, {"õ", "o"}, {"ú", "u"}, {"ù", "u"}, {"û", "u"}, {"ç", "c"},
};

// Plain letters to the like-pattern class of their variants. No class holds the plain
// letter of a later pass, so no pass ever matches inside an earlier class.
constexpr Troca kClasses[] = {
    {"a", "[a,á,à,ã,â,ä]"}, {"e", "[e,é,è,ê]"}, {"i", "[i,í,ì]"},
    {"o", "[o,ó,ò,ô,õ]"},   {"u", "[u,ú,ù,û]"}, {"c", "[c,ç]"},
};

}  // namespace

std::string TextoDePesquisa(std::string_view text, bool ignoreAccents) {
    std::string t = Minusculas(text);
    for (std::string_view gone : {"]", "[", "'", "\x02"}) t = StrSubstitui(t, gone, "", true);
    if (!ignoreAccents) return t;
    for (auto [from, to] : kDobras) t = StrSubstitui(t, from, to, true);
    for (auto [from, to] : kClasses) t = StrSubstitui(t, from, to, true);
    return t;
}

std::vector<std::string> PalavrasDePesquisa(std::string_view text) {
    std::vector<std::string> words;
    size_t from = 0;
    for (;;) {
        size_t space = text.find(' ', from);
        std::string_view piece = text.substr(from, space == text.npos ? text.npos : space - from);
        if (!piece.empty()) words.emplace_back(piece);
        if (space == text.npos) return words;
        from = space + 1;
    }
}

void DobraDecimal(std::string& digits) {
    int carry = 0;
    for (auto d = digits.rbegin(); d != digits.rend(); ++d) {
        int twice = (*d - '0') * 2 + carry;
        *d = static_cast<char>('0' + twice % 10);
        carry = twice / 10;
    }
    if (carry) digits.insert(digits.begin(), '1');
}

}  // namespace kvl
