// The error log file: an administrator creates it beside the library to switch the
// logging on; the library only ever appends to it.

#include <dlfcn.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "SessionImpl.h"
#include "kvl/Error.h"
#include "kvl/Platform.h"

namespace kvl {

namespace {

// The library file as loaded, found from the address of one of its own functions.
std::filesystem::path FicheiroDaBiblioteca() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&kvlSERV::FicheiroDeErros), &info) && info.dli_fname)
        return std::filesystem::path(info.dli_fname);
    return {};
}

// The file name without its extension: "libkvl2005.so.1" gives "libkvl2005".
std::string NomeSemExtensao(const std::filesystem::path& file) {
    std::string name = file.filename().string();
    size_t so = name.find(".so");
    return so != std::string::npos ? name.substr(0, so) : file.stem().string();
}

std::string DataHora() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
    return text;
}

}  // namespace

std::string kvlSERV::FicheiroDeErros() {
    std::filesystem::path lib = FicheiroDaBiblioteca();
    if (lib.empty()) return "";
    return (lib.parent_path() / (NomeSemExtensao(lib) + ".log")).string();
}

void RegistaNoFicheiroDeErros(const kvlSERV& s, std::string_view Parametro) {
    std::ofstream out(kvlSERV::FicheiroDeErros(), std::ios::app | std::ios::binary);
    if (!out) throw Error(kPermissionDenied);
    const char* crlf = "\r\n";
    out << crlf;
    out << "> " << DataHora() << " [" << s.Driver << ", " << s.Server << ", " << s.DSN << ", "
        << s.DB << ", " << s.UID << "]" << crlf;
    out << "> " << NomeSemExtensao(FicheiroDaBiblioteca()) << " [" << ComputadorNome() << ", "
        << UtilizadorNome() << "]" << crlf;
    out << (s.ErroN >= 0 ? " " : "") << s.ErroN << crlf;
    out << s.ErroD << crlf;
    out << Parametro << crlf;
    out << crlf;
}

}  // namespace kvl
