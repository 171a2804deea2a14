#include "TextWidth.h"

#include <locale.h>
#include <wchar.h>

namespace kvlsql {

namespace {

// The code point of the UTF-8 character at text[i], i moved past it; valid is false (and
// i moved one byte on) when no character starts there.
char32_t NextCodePoint(std::string_view text, size_t& i, bool& valid) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char b0 = byte(i);
    size_t length = b0 < 0x80           ? 1
                    : (b0 >> 5) == 0x6  ? 2
                    : (b0 >> 4) == 0xE  ? 3
                    : (b0 >> 3) == 0x1E ? 4
                                        : 0;
    valid = length > 0 && i + length <= text.size();
    for (size_t k = 1; valid && k < length; ++k) valid = (byte(i + k) & 0xC0) == 0x80;
    if (!valid) {
        ++i;
        return 0;
    }
    char32_t cp = length == 1 ? b0 : b0 & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) cp = (cp << 6) | (byte(i + k) & 0x3F);
    i += length;
    return cp;
}

// The character widths of Unicode as the C library knows them, whatever the user's own
// locale (a C locale knows none).
locale_t UnicodeLocale() {
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return unicode;
}

// Switches the calling thread to a locale while it lives.
class LocaleSwitch {
  public:
    explicit LocaleSwitch(locale_t to) : was_(to ? uselocale(to) : locale_t{}) {}
    ~LocaleSwitch() {
        if (was_) uselocale(was_);
    }
    LocaleSwitch(const LocaleSwitch&) = delete;
    LocaleSwitch& operator=(const LocaleSwitch&) = delete;

  private:
    locale_t was_;
};

}  // namespace

size_t DisplayWidth(std::string_view text) {
    size_t width = 0;
    size_t i = 0;
    // ASCII needs no table.
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i, ++width;
    if (i == text.size()) return width;
    LocaleSwitch unicode(UnicodeLocale());
    while (i < text.size()) {
        bool valid = false;
        char32_t cp = NextCodePoint(text, i, valid);
        int w = valid ? wcwidth(static_cast<wchar_t>(cp)) : 1;
        // Unassigned and control characters still take a cell where a terminal shows them.
        width += w < 0 ? 1 : static_cast<size_t>(w);
    }
    return width;
}

}  // namespace kvlsql
