#pragma once
// The installer's fixed places and the texts it shows, exactly as the user must see them.

#include <string_view>

#include "winhost/MessageStyle.h"

namespace zovlt::texts {

inline constexpr std::string_view kInstallRoot = "C:\\ZOV_LT";
inline constexpr std::string_view kBlocksFolder = "C:\\ZOV_LT\\blocos";
inline constexpr std::string_view kLibraryFolder = "C:\\ZOV_LT\\DLL";
inline constexpr std::string_view kInstalledLibrary = "C:\\ZOV_LT\\DLL\\KVL2005.dll";
inline constexpr std::string_view kMenuFile = "C:\\ZOV_LT\\ZOV_LT.cui";
inline constexpr std::string_view kMenuGroup = "ZOV_LT";
inline constexpr std::string_view kRootDestination = "C:\\ZOV_LT\\";
inline constexpr std::string_view kBlocksDestination = "C:\\ZOV_LT\\blocos\\";
// Relative to the program folder.
inline constexpr std::string_view kRootSource = "\\..\\FILES\\";
inline constexpr std::string_view kBlocksSource = "\\..\\FILES\\blocos\\";
inline constexpr std::string_view kLibrarySource = "\\..\\FILES\\DLL\\KVL2005.dll";
inline constexpr std::string_view kAllFiles = "*.*";
inline constexpr std::string_view kRegistration = "regsvr32 C:\\ZOV_LT\\DLL\\KVL2005.dll /s";
inline constexpr std::string_view kUnregistration = "regsvr32 /u /s C:\\ZOV_LT\\DLL\\KVL2005.dll";
inline constexpr std::string_view kSupportSuffix = ";C:\\ZOV_LT";
inline constexpr std::string_view kCadClass = "AutoCAD.Application";

inline constexpr std::string_view kConfirm =
    "Antes de continuar feche todas as aplicações de AutoCAD.";
inline constexpr std::string_view kCopyCaption = "Copiar o Ficheiro ";
inline constexpr std::string_view kFoldersCaption = "Criar pastas de instalação";
inline constexpr std::string_view kSwitchCaption = "Substituir os ficheiros instalados";
inline constexpr std::string_view kLibraryCaption = "Registar as librarias dinâmicas";
inline constexpr std::string_view kStartCaption = "Abrir o AutoCAD";
inline constexpr std::string_view kSupportCaption = "Configurar o Path \"Support\"";
inline constexpr std::string_view kMenuCaption = "Configurar o Menu";
inline constexpr std::string_view kEndCaption = "Fim da instalação.";
inline constexpr std::string_view kFoldersError = "Ocorreu um erro na criação dos directórios!";
inline constexpr std::string_view kCopyError = "Ocorreu um erro na copia dos ficheiros!";
inline constexpr std::string_view kLibraryError =
    "Ocorreu um erro no Registo das librarias dinâmicas!";
inline constexpr std::string_view kStartError = "Ocorreu um erro ao abrir o AutoCAD!";
inline constexpr std::string_view kSupportError =
    "Ocorreu um erro na configuração do AutoCAD (Path Support)!";
inline constexpr std::string_view kMenuError = "Ocorreu um erro ao Carregar o Menu!";
inline constexpr std::string_view kCompleted =
    "Instalação Concluída. Para mais informações acerca do ZOV LT, consulte o ficheiro "
    "manual.pdf que se encontra na pasta C:\\ZOV_LT";
inline constexpr std::string_view kCloseCaption = "Fechar";
// The progress line after Cancel: the step that failed stays in view.
inline constexpr std::string_view kInterruptedCaption = "Interrompido no passo: ";

// Removal of what the installation added.
inline constexpr std::string_view kConfirmRemoval =
    "Remover o ZOV LT deste computador?\r\n"
    "Serão removidos os ficheiros que a instalação copiou para C:\\ZOV_LT, a pasta C:\\ZOV_LT "
    "do Path \"Support\" do AutoCAD e o menu ZOV_LT. Tudo o resto fica como está.";
inline constexpr std::string_view kRemoveCaption = "Remover o Ficheiro ";
inline constexpr std::string_view kUnregisterCaption = "Anular o registo das librarias dinâmicas";
inline constexpr std::string_view kRemoveMenuCaption = "Remover o Menu";
inline constexpr std::string_view kRemovedCaption = "Fim da remoção.";
inline constexpr std::string_view kRemoveError = "Ocorreu um erro na remoção dos ficheiros!";
inline constexpr std::string_view kRemoveMenuError = "Ocorreu um erro ao remover o Menu!";
inline constexpr std::string_view kRemoved = "O ZOV LT foi removido deste computador.";
inline constexpr std::string_view kCheckRemovalCaption = "Verificar os ficheiros a remover";
inline constexpr std::string_view kCannotRemove =
    "A remoção não foi feita: estes ficheiros não podem ser removidos (a unidade ou a pasta não "
    "aceita alterações). Nada foi alterado.";
inline constexpr std::string_view kRemovalIncomplete =
    "A remoção ficou incompleta: estes ficheiros continuam neste computador.";

// Message-box flags.
inline constexpr int kConfirmFlags =
    winhost::kOkCancel + winhost::kInformation + winhost::kDefaultButton2;  // Cancel default
inline constexpr int kStageErrorFlags = winhost::kRetryCancel + winhost::kExclamation;
inline constexpr int kCompletedFlags = winhost::kOkOnly + winhost::kInformation;
inline constexpr int kFailedFlags = winhost::kOkOnly + winhost::kCritical;
inline constexpr int kConfirmRemovalFlags =
    winhost::kYesNo + winhost::kQuestion + winhost::kDefaultButton2;  // No default

}  // namespace zovlt::texts
