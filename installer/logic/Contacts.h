#pragma once
// Who makes the add-on and who gives support: shown in the window and opened by its links.

#include <string_view>

namespace zovlt::contacts {

inline constexpr std::string_view kMakerName = "Zovaria";
inline constexpr std::string_view kMakerSite = "https://www.zovaria.example/zovlt";
inline constexpr std::string_view kAgencyName = "Agência Planurbe";
inline constexpr std::string_view kAgencySite = "https://www.planurbe.example";
inline constexpr std::string_view kSupportMail = "suporte.zovlt@zovaria.example";

}  // namespace zovlt::contacts
