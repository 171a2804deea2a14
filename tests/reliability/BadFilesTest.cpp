// Bad input reaching the programs: binary garbage on kvlsql's standard input, a registry file
// of 100 MB, a menu file nested 10,000 levels deep. A correct result or a clear error, never a
// crash or a hang.

#include <gmock/gmock.h>

#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/RegistryFile.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

struct ProgramRun {
    bool crashed = true;
    int status = -1;
    std::string out;
};

ProgramRun Start(const QString& program, const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());  // garbage echoed in messages
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(-1));
    return {process.exitStatus() != QProcess::NormalExit, process.exitCode(),
            process.readAllStandardOutput().toStdString()};
}

class BadFiles : public testing::Test {
  protected:
    QTemporaryDir dir_;
    fs::path root_ = dir_.path().toStdString();
};

TEST_F(BadFiles, BinaryGarbageOnKvlsqlsInputFailsItsCommandsCleanly) {
    std::mt19937 random(15);
    QByteArray garbage(256 << 10, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(root_.string()));
    qputenv("ODBCSYSINI", QByteArray::fromStdString(root_.string()));
    std::ofstream(root_ / "odbcinst.ini")
        << "[SQLite3]\nDriver=" KVL_ODBC_DRIVER_DIR "/libsqlite3odbc.so\n";
    const ProgramRun run = Start(KVLSQL_PROGRAM, {"-f", "-"}, garbage);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.status, 1);
}

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
    const ProgramRun run = Start(CAD_STANDIN, arguments,
                                 "call\tMenuGroups.Load\tC:\\fundo.cui\n"
                                 "get\tMenuGroups.Item(1).Name\n"
                                 "call\tMenuGroups.Load\tC:\\aberto.cui\n");
    EXPECT_FALSE(run.crashed);
    EXPECT_THAT(run.out, HasSubstr("ok\tfundo\n"));
    EXPECT_THAT(run.out, HasSubstr("\nerror\t"));
}

}  // namespace
