#include "kvl/Text.h"

#include <algorithm>

namespace kvl {

namespace {

constexpr auto npos = std::string_view::npos;

// Lower-case of a code point within the Latin blocks whose UTF-8 length stays the same.
char32_t LowerLatin(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c == 0x178) return 0xFF;
    bool evenUpper = (c >= 0x100 && c <= 0x137 && c != 0x130) || (c >= 0x14A && c <= 0x177);
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1)) return c + 1;
    return c;
}

char32_t UpperLatin(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    return c;
}

// Applies a case map to ASCII and two-byte UTF-8 sequences, which keeps every length.
template <typename Map>
std::string MapCase(std::string_view text, Map map) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        auto b = static_cast<unsigned char>(out[i]);
        if (b < 0x80) {
            out[i] = static_cast<char>(map(b));
        } else if ((b & 0xE0) == 0xC0 && i + 1 < out.size() &&
                   (static_cast<unsigned char>(out[i + 1]) & 0xC0) == 0x80) {
            char32_t c = ((b & 0x1F) << 6) | (static_cast<unsigned char>(out[i + 1]) & 0x3F);
            char32_t m = map(c);
            if (m >= 0x80 && m < 0x800) {
                out[i] = static_cast<char>(0xC0 | (m >> 6));
                out[i + 1] = static_cast<char>(0x80 | (m & 0x3F));
            }
            ++i;
        }
    }
    return out;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string Literal(std::string_view value) {
    return StrSubstitui(value, "'", "''", true);
}

std::string Minusculas(std::string_view text) {
    return MapCase(text, LowerLatin);
}
std::string Maiusculas(std::string_view text) {
    return MapCase(text, UpperLatin);
}

std::string_view Apara(std::string_view text) {
    size_t b = text.find_first_not_of(' ');
    if (b == npos) return {};
    size_t e = text.find_last_not_of(' ');
    return text.substr(b, e - b + 1);
}

size_t ContaCaracteres(std::string_view text) {
    size_t n = 0;
    for (char c : text) n += !IsContinuation(c);
    return n;
}

size_t OffsetDoCaracter(std::string_view text, size_t chars) {
    size_t i = 0;
    while (i < text.size()) {
        if (!IsContinuation(text[i])) {
            if (chars == 0) return i;
            --chars;
        }
        ++i;
    }
    return text.size();
}

std::string_view CorteUtf8(std::string_view text, size_t maxBytes) {
    size_t end = std::min(text.size(), maxBytes);
    size_t lead = end;
    while (lead > 0 && IsContinuation(text[lead - 1])) --lead;
    if (lead == 0) return text.substr(0, end);
    --lead;  // the last character that starts before the cut
    auto b = static_cast<unsigned char>(text[lead]);
    size_t length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return text.substr(0, lead + length <= end ? end : lead);
}

std::string StrPar(int32_t n, std::string_view text, std::optional<std::string_view> separator,
                   int32_t* start, int32_t* length, bool ignoreCase) {
    std::string sep(separator.value_or(" "));
    std::string work(text);
    if (ignoreCase) {
        work = Minusculas(work);
        sep = Minusculas(sep);
    }
    work += sep;

    size_t from = 0;
    size_t p = work.find(sep);
    while (p != npos) {
        --n;
        if (n == 0) break;
        from = p + sep.size();
        if (sep.empty()) break;  // an empty separator matches at every position
        p = work.find(sep, from);
    }
    bool found = n == 0 && p != npos;

    int32_t startChars = static_cast<int32_t>(ContaCaracteres(text.substr(0, from))) + 1;
    if (start) *start = startChars;
    if (length) {
        *length = p == npos ? -startChars
                            : static_cast<int32_t>(ContaCaracteres(text.substr(from, p - from)));
    }
    return found ? std::string(text.substr(from, p - from)) : std::string();
}

int32_t StrConta(std::string_view text, std::string_view sought) {
    if (sought.empty()) return 0;
    int32_t count = 0;
    for (size_t p = text.find(sought); p != npos; p = text.find(sought, p + 1)) ++count;
    return count;
}

std::string ComandoColuna(std::string_view command, int32_t n, bool stripPrefix) {
    std::string lowered = Minusculas(command);
    size_t sel = lowered.find("select");
    size_t from = lowered.find("from");
    if (sel == npos || from == npos || sel >= from || from < sel + 8) return "";
    std::string_view list = Apara(command.substr(sel + 7, from - sel - 8));
    std::string item(Apara(StrPar(n, list, ",")));
    if (stripPrefix) {
        if (size_t dot = item.find('.'); dot != npos) return item.substr(dot + 1);
    }
    return item;
}

std::string StrSubstitui(std::string_view text, std::string_view sought,
                         std::string_view replacement, bool skipReplacement) {
    if (sought.empty()) return std::string(text);
    // A replacement that holds the sought text would be found again forever.
    if (replacement.find(sought) != npos) skipReplacement = true;
    std::string out(text);
    size_t p = out.find(sought);
    while (p != npos) {
        out.replace(p, sought.size(), replacement);
        if (skipReplacement) p += replacement.size();
        p = out.find(sought, p);
    }
    return out;
}

}  // namespace kvl
