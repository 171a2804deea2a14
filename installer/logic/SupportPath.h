#pragma once
// The CAD application's support path: folders separated by ";". Entries compare whole, in any
// letter case, a trailing "\" and surrounding blanks ignored, so "C:\ZOV_LTX" or
// "C:\ZOV_LT\blocos" do not count as "C:\ZOV_LT".

#include <string>
#include <string_view>

namespace zovlt {

bool ListsFolder(std::string_view list, std::string_view folder);

// The list without the entries that name folder (and the ";" before each), the others as
// they were.
std::string WithoutFolder(std::string_view list, std::string_view folder);

}  // namespace zovlt
