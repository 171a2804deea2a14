// The normalising of a search text and its cut into words: whatever the user types, the
// text that reaches a LIKE pattern holds no quote or bracket of its own.
#include <cstdlib>
#include <string>

#include "kvl/SearchText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string typed(reinterpret_cast<const char*>(data), size);
    const std::string plain = kvl::TextoDePesquisa(typed, false);
    if (plain.find_first_of("[]'\x02") != std::string::npos) std::abort();
    const std::string folded = kvl::TextoDePesquisa(typed, true);
    if (folded.find('\'') != std::string::npos) std::abort();
    for (const std::string& word : kvl::PalavrasDePesquisa(folded))
        if (word.empty() || word.find(' ') != std::string::npos) std::abort();
    return 0;
}
