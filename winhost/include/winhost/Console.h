#pragma once
// Captions and messages of a run without a window, printed one per line.

#include <string>
#include <string_view>

namespace winhost {

// The text on one line: each line break, with the blanks around it, becomes one blank.
std::string OneLine(std::string_view text);

// Prints OneLine(text) on standard output at once, so that the record survives what follows.
void PrintLine(std::string_view text);

}  // namespace winhost
