#pragma once
// The installer's own texts: titles, messages and the help text.

#include <cstdint>
#include <string>
#include <string_view>

#include "kvl/Error.h"
#include "winhost/MessageStyle.h"

namespace setup {

inline constexpr std::string_view kTitle = "Instalar Simbologia";
inline constexpr std::string_view kCompleted = "Instalação concluida.";

// The maker of the package, named in the version warning and the help text.
inline constexpr std::string_view kMakerName = "Geodados, Lda.";
inline constexpr std::string_view kMakerTelephone = "+351 210 000 000";
inline constexpr std::string_view kMakerUpdatesAddress = "http://suporte.geodados.example/cartelix";

// Removal.
inline constexpr std::string_view kConfirmRemoval =
    "Remover a simbologia do PDM deste computador?\r\n"
    "Serão removidos os ficheiros que a instalação colocou; a biblioteca de símbolos que existia "
    "antes da instalação volta a ser a original.";
inline constexpr std::string_view kNothingToRemove =
    "A simbologia do PDM não está instalada neste computador: nada a remover.";
inline constexpr std::string_view kCannotRemove =
    "A remoção não foi feita: estes ficheiros não podem ser removidos (a unidade ou a pasta não "
    "aceita alterações). Nada foi alterado.";
inline constexpr std::string_view kRemovalIncomplete =
    "A remoção ficou incompleta: estes ficheiros continuam neste computador.";
inline constexpr std::string_view kRemoved = "A simbologia do PDM foi removida deste computador.";
inline constexpr int kConfirmRemovalFlags =
    winhost::kYesNo + winhost::kQuestion + winhost::kDefaultButton2;  // No default

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
