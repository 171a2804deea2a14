#pragma once

#include <string>

namespace zovlt {

// The text of Text1: the add-on, who gives support and how, and the terms of use.
std::string TermsOfUse();

}  // namespace zovlt
