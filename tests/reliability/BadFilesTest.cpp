// Bad input reaching the programs: a registry file of 100 MB, a menu file nested 10,000
// levels deep. A correct result or a clear error, never a crash or a hang.

#include <gmock/gmock.h>

#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "platform/RegistryFile.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class BadFiles : public testing::Test {
  protected:
    QTemporaryDir dir_;
    fs::path root_ = dir_.path().toStdString();
};

// 100 MB of keys in Wine's format: the value after them is found.
TEST_F(BadFiles, ARegistryFileOf100MegabytesIsReadWhole) {
    const fs::path file = root_ / "system.reg";
    {
        std::ofstream out(file, std::ios::binary);
        out << "WINE REGISTRY Version 2\n\n";
        const std::string value(1000, 'v');
        for (int i = 0; out.tellp() < (100 << 20); ++i)
            out << "[Software\\\\Filler\\\\K" << i << "] 0\n\"v\"=\"" << value << "\"\n\n";
        out << "[Software\\\\Kestrova\\\\Cartelix] 0\n\"Edicao\"=\"Profissional\"\n";
    }
    EXPECT_EQ(setup::RegistryFile::Load(file).Read(
                  "HKEY_LOCAL_MACHINE\\Software\\Kestrova\\Cartelix\\Edicao"),
              "Profissional");
}

// The stand-in loads a menu file whose menus lie 10,000 elements deep, and refuses one whose
// 10,000 levels are never closed.
TEST_F(BadFiles, AMenuFileNested10000LevelsDeepIsReadOrRefused) {
    const int depth = 10'000;
    std::string open, close;
    for (int i = 0; i < depth; ++i) open += "<Nivel>", close += "</Nivel>";
    fs::create_directories(root_ / "c");
    std::ofstream(root_ / "c" / "fundo.cui")
        << "<CustSection>" << open
        << "<PopMenuRoot><PopMenu><Name>Fundo</Name></PopMenu></PopMenuRoot>" << close
        << "</CustSection>";
    std::ofstream(root_ / "c" / "aberto.cui") << "<CustSection>" << open;
    const QStringList arguments{"--state", QString::fromStdString((root_ / "state.json").string()),
                                "--drive-c", QString::fromStdString((root_ / "c").string())};
    QProcess standin;
    standin.start(CAD_STANDIN, arguments);
    standin.write(
        "call\tMenuGroups.Load\tC:\\fundo.cui\n"
        "get\tMenuGroups.Item(1).Name\n"
        "call\tMenuGroups.Load\tC:\\aberto.cui\n");
    standin.closeWriteChannel();
    ASSERT_TRUE(standin.waitForFinished(-1));
    EXPECT_EQ(standin.exitStatus(), QProcess::NormalExit);
    const std::string out = standin.readAllStandardOutput().toStdString();
    EXPECT_THAT(out, HasSubstr("ok\tfundo\n"));
    EXPECT_THAT(out, HasSubstr("\nerror\t"));
}

}  // namespace
