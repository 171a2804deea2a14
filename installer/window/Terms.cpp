#include "window/Terms.h"

#include "logic/Contacts.h"

namespace zovlt {

std::string TermsOfUse() {
    using namespace contacts;
    const std::string maker(kMakerName);
    return "ZOV LT para AutoCAD 2006\n\n"
           "O ZOV LT acrescenta ao AutoCAD as ferramentas de desenho e de consulta usadas nos "
           "processos de planeamento municipal: um menu próprio, uma biblioteca de blocos "
           "normalizados e o acesso à base de dados do projecto através da biblioteca KVL2005.\n\n"
           "Informações e suporte\n"
           "O suporte técnico é prestado pela " +
           maker +
           ", nos dias úteis, das 9h00 às 18h00, "
           "pelo correio electrónico " +
           std::string(kSupportMail) +
           ". Indique na mensagem a "
           "versão do AutoCAD, o número da licença e uma descrição do problema. Novas versões e "
           "respostas às perguntas frequentes estão em " +
           std::string(kMakerSite) + ". A " + std::string(kAgencyName) + " (" +
           std::string(kAgencySite) +
           ") acompanha a "
           "utilização do ZOV LT nos serviços municipais aderentes.\n\n"
           "Condições gerais de utilização\n"
           "a) O ZOV LT é licenciado, não vendido: a licença permite a instalação e a utilização "
           "nos postos de trabalho da entidade licenciada.\n"
           "b) Não é permitido modificar, descompilar ou redistribuir o programa ou os seus "
           "componentes sem autorização escrita da " +
           maker +
           ".\n"
           "c) Os blocos e os menus fornecidos podem ser adaptados para uso interno, mantendo a "
           "indicação da sua origem.\n"
           "d) A " +
           maker +
           " não responde por perdas de dados ou danos resultantes de uma "
           "utilização indevida ou da falta de cópias de segurança dos desenhos.\n"
           "e) O suporte técnico abrange a versão em vigor e a versão anterior, nos termos "
           "indicados acima.\n"
           "f) A instalação do ZOV LT implica a aceitação destas condições; quem não as aceitar "
           "deve cancelar a instalação.\n";
}

}  // namespace zovlt
