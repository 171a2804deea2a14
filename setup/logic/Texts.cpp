#include "logic/Texts.h"

#include <initializer_list>

#include "winhost/Errors.h"

namespace setup {

namespace {

std::string JoinLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    bool first = true;
    for (std::string_view line : lines) {
        if (!first) text += "\r\n";
        text += line;
        first = false;
    }
    return text;
}

}  // namespace

std::string VersionWarning() {
    const std::string telephone = "Telefone: " + std::string(kMakerTelephone);
    return JoinLines({"Aviso: ",
                      "A versão de Cartelix que dispõe não é a correcta, para usar esta "
                      "simbologia, por favor use a versão 06.00",
                      "", kMakerName, telephone});
}

kvl::Error MissingComponent(const std::string& file) {
    return kvl::Error(kvl::kFileNotFound, file);
}

std::string LoadErrorMessage(const kvl::Error& error) {
    if (error.number() == kvl::kFileNotFound) {
        return "Erro:\r\nFicheiro não encontrado, possível erro a descompactar os ficheiros\r\n"
               "Componente em falta: " +
               error.description();
    }
    return ErrorMessage(error);
}

std::string ErrorMessage(const kvl::Error& error) {
    return "Erro:\r\n" + std::to_string(error.number()) + " - " + winhost::Description(error);
}

std::string HelpText() {
    const std::string contact =
        std::string(kMakerName) + " - Telefone: " + std::string(kMakerTelephone);
    return JoinLines({"Este programa permite instalar a simbologia do PDM, ",
                      "para Cartelix versão 6.0.",
                      "",
                      "Requisitos mínimos de Cartelix:",
                      "- Cartelix Professional: 06.00.34.68",
                      "- Cartelix: 06.00.34.57",
                      "",
                      "Poderá descarregar as actualizações de Cartelix",
                      kMakerUpdatesAddress,
                      "",
                      "O programa instala os componentes necessários nas ",
                      "directorias por omissão do Cartelix. Caso o deseje ",
                      "poderá alterar.",
                      "",
                      "Mais tarde não deve alterar essas localizações, pois ",
                      "podem os símbolos perder as referências de localização.",
                      "",
                      "",
                      "Para qualquer contacto ou dúvidas, ligue para a ",
                      contact});
}

}  // namespace setup
