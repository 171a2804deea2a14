#pragma once
// Text helpers shared by the library and its programs. Texts are UTF-8; where a
// position or a length is counted for the caller it is counted in characters.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "kvl/Export.h"

namespace kvl {

// Field n (1-based) of text cut at every separator (default " "). The letter case of
// the result is the input's even when the search ignores case. start and length, when
// given, receive the field's 1-based character position and its length in characters.
KVL_API std::string StrPar(int32_t n, std::string_view text,
                           std::optional<std::string_view> separator = std::nullopt,
                           int32_t* start = nullptr, int32_t* length = nullptr,
                           bool ignoreCase = false);

// Occurrences of sought in text, overlapping ones included; 0 when sought is empty.
KVL_API int32_t StrConta(std::string_view text, std::string_view sought);

// Item n of the SELECT list of a command; with stripPrefix, "t.col" gives "col".
KVL_API std::string ComandoColuna(std::string_view command, int32_t n, bool stripPrefix);

// Replaces every occurrence of sought. With skipReplacement the inserted text is
// never searched again, which callers need when the replacement contains sought.
KVL_API std::string StrSubstitui(std::string_view text, std::string_view sought,
                                 std::string_view replacement, bool skipReplacement);

// Lower-case of ASCII and of the accented Latin letters ("Á" becomes "á"). The byte
// length never changes, so positions found in the result hold in the original.
// The value with its single quotes doubled, for placing inside an SQL string literal.
KVL_API std::string Literal(std::string_view value);

KVL_API std::string Minusculas(std::string_view text);
KVL_API std::string Maiusculas(std::string_view text);

// Without leading and trailing blanks (spaces only, as the classic Trim).
KVL_API std::string_view Apara(std::string_view text);

// Number of characters (code points) of a UTF-8 text.
KVL_API size_t ContaCaracteres(std::string_view text);

// Byte offset of character index chars (0-based), or text.size() when beyond the end.
KVL_API size_t OffsetDoCaracter(std::string_view text, size_t chars);

// The longest prefix of text within maxBytes that ends on a whole character (a
// character already cut short at the end is dropped too).
KVL_API std::string_view CorteUtf8(std::string_view text, size_t maxBytes);

// Text form of a Boolean in logs and conversions.
inline const char* BoolTexto(bool b) {
    return b ? "True" : "False";
}

}  // namespace kvl
