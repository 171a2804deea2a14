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

// 2 to the power k in exact decimal digits, for any k: the weights of a search with more
// words than a 64-bit integer can weigh.
KVL_API std::string PotenciaDeDois(unsigned k);

}  // namespace kvl
