// regsvr32: the registration command line of the installer, run on Linux.

#include <gtest/gtest.h>

#include <QProcess>

#include "Workspace.h"

namespace zovlt::test {
namespace {

namespace fs = std::filesystem;

class RegistrationTest : public ::testing::Test {
  protected:
    RegistrationTest() {
        fs::create_directories(space.DriveC() / "ZOV_LT" / "DLL");
        fs::copy_file(REGISTRATION_MODULE, space.DriveC() / "ZOV_LT" / "DLL" / "KVL2005.dll");
        environment.insert("ZOVLT_DRIVE_C", QString::fromStdString(space.DriveC().string()));
        environment.insert("ZOVLT_TEST_MARKER", QString::fromStdString(Marker().string()));
    }

    fs::path Marker() const { return space.Root() / "registered"; }

    int Run(const QStringList& arguments, QString* output = nullptr) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(BIN_DIR "/regsvr32", arguments);
        EXPECT_TRUE(program.waitForFinished(-1));
        if (output) *output = QString::fromUtf8(program.readAll());
        return program.exitCode();
    }

    Workspace space;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

TEST_F(RegistrationTest, RegistersAndUnregistersThroughDriveC) {
    QString output;
    EXPECT_EQ(Run({"C:\\ZOV_LT\\DLL\\KVL2005.dll", "/s"}, &output), 0);
    EXPECT_TRUE(output.isEmpty());
    EXPECT_TRUE(fs::exists(Marker()));
    EXPECT_EQ(Run({"/u", "C:\\ZOV_LT\\DLL\\KVL2005.dll"}, &output), 0);
    EXPECT_TRUE(output.contains("DllUnregisterServer"));
    EXPECT_FALSE(fs::exists(Marker()));
}

TEST_F(RegistrationTest, FailuresHaveTheirOwnExitStatus) {
    EXPECT_EQ(Run({}), 1);
    EXPECT_EQ(Run({"C:\\ZOV_LT\\DLL\\NADA.dll", "/s"}), 3);
    space.Write(space.DriveC() / "texto.dll", "not a library");
    EXPECT_EQ(Run({"C:\\texto.dll", "/s"}), 3);
    EXPECT_EQ(Run({(fs::path(BIN_DIR) / "zovlt-config").c_str(), "/s"}), 3);  // not a library
    environment.insert("ZOVLT_TEST_REFUSE", "1");
    EXPECT_EQ(Run({"C:\\ZOV_LT\\DLL\\KVL2005.dll", "/s"}), 5);
    EXPECT_FALSE(fs::exists(Marker()));
}

}  // namespace
}  // namespace zovlt::test
