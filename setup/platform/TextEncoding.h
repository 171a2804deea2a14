#pragma once
// Decoding of the text files the Linux layer reads into UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

namespace setup {

// Appends a code point as UTF-8.
void AppendUtf8(std::string& text, char32_t codePoint);

// UTF-16LE bytes as UTF-8; an odd last byte is dropped and an unpaired surrogate
// becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// File bytes as UTF-8: a UTF-16LE or UTF-8 byte-order mark is honoured; bytes that
// are not valid UTF-8 are read as Latin-1, the 8-bit form of older exports.
std::string DecodeText(std::string_view bytes);

}  // namespace setup
