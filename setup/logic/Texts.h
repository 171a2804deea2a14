#pragma once
// The installer's own texts: titles, messages and the help text.

#include <cstdint>
#include <string>
#include <string_view>

namespace setup {

inline constexpr std::string_view kTitle = "Instalar Simbologia";
inline constexpr std::string_view kCompleted = "Instalação concluida.";

// The maker of the package, named in the version warning and the help text.
inline constexpr std::string_view kMakerName = "Geodados, Lda.";
inline constexpr std::string_view kMakerTelephone = "+351 210 000 000";
inline constexpr std::string_view kMakerUpdatesAddress = "http://suporte.geodados.example/cartelix";

// Shown when the installed product is not version 06.00.
std::string VersionWarning();

// A failure while loading the window: error 53 has its own wording.
std::string LoadErrorMessage(int32_t number, std::string_view description);

// "Erro:", then the number and the description.
std::string ErrorMessage(int32_t number, std::string_view description);

// The help window's text, lines separated by CR LF.
std::string HelpText();

}  // namespace setup
