// The real program, unattended, against a distribution folder, a temporary drive C: and the
// stand-in CAD server.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QProcess>

#include "Workspace.h"

namespace zovlt::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct ProgramRun {
    int exitCode = -1;
    QStringList lines;
};

ProgramRun RunProgram(const QStringList& arguments) {
    QProcess program;
    program.start(BIN_DIR "/zovlt-config", arguments);
    EXPECT_TRUE(program.waitForFinished(-1));
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)};
}

std::vector<std::string> Texts(const QJsonValue& value) {
    std::vector<std::string> texts;
    for (const auto& item : value.toArray()) texts.push_back(item.toString().toStdString());
    return texts;
}

class EndToEndTest : public ::testing::Test {
  protected:
    EndToEndTest() { space.MakeDistribution(); }

    ProgramRun Install(bool withClasses = true) {
        QStringList arguments{"--unattended", "--drive-c", Q(space.DriveC()), "--source",
                              Q(space.Source())};
        if (withClasses) arguments << "--classes" << Q(space.ClassesFile());
        return RunProgram(arguments);
    }

    static QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

    void ExpectFilesInPlace() const {
        const fs::path root = space.DriveC() / "ZOV_LT";
        for (const char* name : {"leia-me.txt", "zovlt.lsp", "ZOV_LT.cui", "blocos/lote.dwg",
                                 "blocos/via.dwg", "DLL/KVL2005.dll"}) {
            EXPECT_EQ(space.Read(root / name), space.Read(space.Files() / name)) << name;
        }
        EXPECT_FALSE(fs::exists(root / ".oculto"));
        EXPECT_FALSE(fs::exists(root / "extra"));
    }

    Workspace space;
};

TEST_F(EndToEndTest, UnattendedInstallationCompletes) {
    space.RegisterStandin();
    const ProgramRun run = Install();
    EXPECT_EQ(run.exitCode, 0);
    ExpectFilesInPlace();

    const QJsonObject state = space.State();
    EXPECT_TRUE(state["SupportPath"].toString().endsWith(";C:\\ZOV_LT"));
    const QJsonArray groups = state["MenuGroups"].toArray();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[1].toObject()["Name"].toString(), "ZOV_LT");
    EXPECT_THAT(Texts(state["MenuBar"]), ElementsAre("File", "ZOV LT", "Help"));
    EXPECT_THAT(Texts(state["Documents"]), ::testing::IsEmpty());
    EXPECT_FALSE(state["Running"].toBool());

    EXPECT_EQ(run.lines.first(), "Antes de continuar feche todas as aplicações de AutoCAD.");
    EXPECT_TRUE(run.lines.contains("Copiar o Ficheiro C:\\ZOV_LT\\blocos\\via.dwg"));
    EXPECT_TRUE(run.lines.contains("Configurar o Path \"Support\""));
    EXPECT_TRUE(run.lines.contains("Fim da instalação."));
    EXPECT_TRUE(run.lines.last().startsWith("Instalação Concluída."));
}

TEST_F(EndToEndTest, ASecondInstallationReplacesTheGroupAndKeepsThePath) {
    space.RegisterStandin();
    ASSERT_EQ(Install().exitCode, 0);
    ASSERT_EQ(Install().exitCode, 0);
    const QJsonObject state = space.State();
    EXPECT_EQ(state["SupportPath"].toString().count("ZOV_LT"), 1);
    EXPECT_EQ(state["MenuGroups"].toArray().size(), 2);
    EXPECT_THAT(Texts(state["MenuBar"]), ElementsAre("File", "ZOV LT", "Help"));
}

TEST_F(EndToEndTest, WithoutTheCadApplicationTheStartFailsAfterTheFilesAreCopied) {
    const ProgramRun run = Install(false);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(
        run.lines.last().toStdString(),
        ::testing::AllOf(HasSubstr("Ocorreu um erro ao abrir o AutoCAD!"), HasSubstr("(429)")));
    ExpectFilesInPlace();
}

TEST_F(EndToEndTest, CommandLineUsage) {
    EXPECT_EQ(RunProgram({"--help"}).exitCode, 0);
    EXPECT_EQ(RunProgram({"--unattended", "--drive-c"}).exitCode, 2);
    EXPECT_EQ(RunProgram({"--unattended", "--no-such-option"}).exitCode, 2);
    EXPECT_EQ(RunProgram({"--unattended", "--classes", "/nonexistent/classes.ini"}).exitCode, 2);
}

}  // namespace
}  // namespace zovlt::test
