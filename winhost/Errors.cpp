#include "winhost/Errors.h"

namespace winhost {

std::string_view PortugueseDescription(int32_t number) {
    switch (number) {
        case kvl::kInvalidCall:
            return "Chamada de procedimento ou argumento inválido";
        case kvl::kOverflow:
            return "Capacidade excedida";
        case kvl::kSubscriptOutOfRange:
            return "Índice fora do intervalo";
        case kvl::kTypeMismatch:
            return "Tipos incompatíveis";
        case kvl::kFileNotFound:
            return "Ficheiro não encontrado";
        case kvl::kFileAlreadyExists:
            return "O ficheiro já existe";
        case kvl::kDiskFull:
            return "Disco cheio";
        case kvl::kPermissionDenied:
            return "Permissão negada";
        case kvl::kPathFileAccessError:
            return "Erro de acesso ao caminho/ficheiro";
        case kvl::kPathNotFound:
            return "Caminho não encontrado";
        case kvl::kObjectNotSet:
            return "Variável de objecto não definida";
        case kvl::kCannotCreateObject:
            return "O componente ActiveX não consegue criar o objecto";
        case kvl::kNoSuchMember:
            return "O objecto não suporta esta propriedade ou método";
        case kAutomationError:
            return "Erro de automação";
        case kServerUnavailable:
            return "O servidor remoto não existe ou não está disponível";
        default:
            return "";
    }
}

kvl::Error NamedError(int32_t number, std::string_view name) {
    return kvl::Error(number,
                      std::string(PortugueseDescription(number)) + ": " + std::string(name));
}

std::string Description(const kvl::Error& error) {
    const std::string_view portuguese = PortugueseDescription(error.number());
    const bool standard = error.description().empty() ||
                          error.description() == kvl::Error::StandardDescription(error.number());
    return standard && !portuguese.empty() ? std::string(portuguese) : error.description();
}

}  // namespace winhost
