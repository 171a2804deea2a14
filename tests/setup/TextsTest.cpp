// The installer's fixed texts, line by line.

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "logic/Texts.h"

namespace setup {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

TEST(Texts, HelpTextLineByLine) {
    const std::vector<std::string> lines = Lines(HelpText());
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0], "Este programa permite instalar a simbologia do PDM, ");
    EXPECT_EQ(lines[4], "- Cartelix Professional: 06.00.34.68");
    EXPECT_EQ(lines[10], "O programa instala os componentes necessários nas ");
    EXPECT_EQ(lines[11], "directorias por omissão do Cartelix. Caso o deseje ");
    EXPECT_EQ(lines[14], "Mais tarde não deve alterar essas localizações, pois ");
    EXPECT_EQ(lines[15], "podem os símbolos perder as referências de localização.");
    EXPECT_EQ(lines[18], "Para qualquer contacto ou dúvidas, ligue para a ");
    for (size_t empty : {2, 6, 9, 13, 16, 17}) EXPECT_EQ(lines[empty], "") << empty;
    EXPECT_NE(lines[8], "");
    EXPECT_NE(lines[19].find(kMakerTelephone), std::string::npos);
}

TEST(Texts, VersionWarningEndsWithTheMakerAndItsTelephone) {
    const std::vector<std::string> lines = Lines(VersionWarning());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Aviso: ");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], kMakerName);
    EXPECT_EQ(lines[4], "Telefone: " + std::string(kMakerTelephone));
}

TEST(Texts, ErrorMessages) {
    EXPECT_EQ(LoadErrorMessage(53, "File not found"),
              "Erro:\r\nFicheiro não encontrado, possível erro a descompactar os ficheiros");
    EXPECT_EQ(LoadErrorMessage(70, "Permission denied"), "Erro:\r\n70 - Permission denied");
    EXPECT_EQ(ErrorMessage(53, "File not found"), "Erro:\r\n53 - File not found");
}

}  // namespace
}  // namespace setup
