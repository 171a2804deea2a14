#include "winhost/Console.h"

#include <iostream>

namespace winhost {

std::string OneLine(std::string_view text) {
    std::string line;
    bool atBreak = false;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            atBreak = true;
            continue;
        }
        if (atBreak) {
            while (!line.empty() && line.back() == ' ') line.pop_back();
            if (c == ' ') continue;  // blanks after the break go too
            if (!line.empty()) line += ' ';
            atBreak = false;
        }
        line += c;
    }
    return line;
}

void PrintLine(std::string_view text) {
    std::cout << OneLine(text) << std::endl;
}

}  // namespace winhost
