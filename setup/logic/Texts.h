#pragma once
// The installer's own texts: titles, messages and the help text.

#include <cstdint>
#include <string>
#include <string_view>

#include "kvl/Error.h"

namespace setup {

inline constexpr std::string_view kTitle = "Instalar Simbologia";
inline constexpr std::string_view kCompleted = "Instalação concluida.";

// The maker of the package, named in the version warning and the help text.
inline constexpr std::string_view kMakerName = "Geodados, Lda.";
inline constexpr std::string_view kMakerTelephone = "+351 210 000 000";
inline constexpr std::string_view kMakerUpdatesAddress = "http://suporte.geodados.example/cartelix";

// Shown when the installed product is not version 06.00.
std::string VersionWarning();

// A component file missing from the staging folder: error 53, whose description is the file.
kvl::Error MissingComponent(const std::string& file);

// A failure while loading the window: a missing component has its own wording, and names it.
std::string LoadErrorMessage(const kvl::Error& error);

// "Erro:", then the number and the description (in Portuguese).
std::string ErrorMessage(const kvl::Error& error);

// The help window's text, lines separated by CR LF.
std::string HelpText();

}  // namespace setup
