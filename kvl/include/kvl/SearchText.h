#pragma once
// The text of a ranked search as it is matched: pure text functions, free of any session,
// so they can be exercised on their own.

#include <string>
#include <string_view>
#include <vector>

#include "kvl/Export.h"

namespace kvl {

// The user's text lower-cased (accented capitals too), without "]", "[", "'" and the
// character of code 2. With ignoreAccents the accented vowels and the cedilla are folded
// to their plain letter, and every plain vowel and "c" becomes the bracketed class of its
// accent variants, so the pattern matches however the stored text is accented.
KVL_API std::string TextoDePesquisa(std::string_view text, bool ignoreAccents);

// The words of a search text, in text order: pieces cut at every single space, the empty
// ones dropped.
KVL_API std::vector<std::string> PalavrasDePesquisa(std::string_view text);

// Doubles a number written in decimal digits, in place and exactly however long it is:
// from "1", the weights of a search's words in turn, past what a 64-bit integer can weigh.
KVL_API void DobraDecimal(std::string& digits);

}  // namespace kvl
