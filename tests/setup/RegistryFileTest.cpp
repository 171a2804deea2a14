// Registry values from the text files Windows and Wine write.

#include <gmock/gmock.h>

#include "Databases.h"
#include "Helpers.h"
#include "platform/RegistryFile.h"

namespace setup::testing {
namespace {

using ::testing::AllOf;
using ::testing::Property;
using ::testing::Throws;
using ::testing::ThrowsMessage;

const std::string kApplications = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications\\";

TEST(RegistryFile, Utf16ExportValuesAndMissingOnes) {
    const RegistryFile registry = RegistryFile::Parse(
        Utf16Export(u"Windows Registry Editor Version 5.00\r\n\r\n"
                    u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications]\r\n"
                    u"\"DefaultJCache\"=\"C:\\\\Programas\\\\Cartelix \\\"06.00\\\"\\\\\"\r\n"
                    u"\"Expansão\"=hex(2):25,00,54,00,45,00,4d,00,\\\r\n"
                    u"  50,00,25,00,00,00\r\n"
                    u"\"Bytes\"=hex:01,02\r\n"
                    u"\"Removed\"=-\r\n\r\n"
                    u"[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Gone]\r\n"
                    u"\"Value\"=\"x\"\r\n"));
    EXPECT_EQ(registry.Read(kApplications + "DefaultJCache"),
              "C:\\Programas\\Cartelix \"06.00\"\\");
    // Letter case is ignored and HKLM stands for the machine's hive.
    EXPECT_EQ(registry.Read("hklm\\software\\kestrova\\applications\\defaultjcache"),
              "C:\\Programas\\Cartelix \"06.00\"\\");
    EXPECT_EQ(registry.Read(kApplications + "EXPANSÃO"), "%TEMP%");
    EXPECT_EQ(kvltest::ErrorOf([&] { registry.Read(kApplications + "Bytes"); }),
              kvl::kTypeMismatch);

    // Deleted values and keys are missing, as are other hives and paths without a key.
    for (const std::string& path :
         {kApplications + "Removed",
          std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Gone\\Value"),
          std::string("HKEY_CURRENT_USER\\SOFTWARE\\Kestrova\\Applications\\DefaultJCache"),
          std::string("DefaultJCache")}) {
        EXPECT_EQ(kvltest::ErrorOf([&] { registry.Read(path); }), kRegistryKeyNotFound) << path;
    }
    EXPECT_THAT([&] { registry.Read(kApplications + "Other"); },
                ThrowsMessage<kvl::Error>("Não foi possível abrir a chave de registo \"" +
                                          kApplications + "Other\" para leitura."));
}

// A 64-bit prefix gives a 32-bit program its keys under Wow6432Node first.
TEST(RegistryFile, WineSystemRegRelativeToTheMachineWow6432NodeFirst) {
    const RegistryFile registry = RegistryFile::Parse(
        "WINE REGISTRY Version 2\n"
        ";; All keys relative to \\\\Machine\n\n"
        "#arch=win64\n\n"
        "[Software\\\\Kestrova\\\\Cartelix\\\\06.00\\\\Setup] 1733480000\n"
        "#time=1db47c8a2b3c4d0\n"
        "\"Path\"=\"C:\\\\Program Files\\\\Cartelix\\\\\"\n"
        "\"Dono\"=\"Jo\\xe3o\\tSilva\"\n"
        "\"Expand\"=str(2):\"%ProgramFiles%\\\\Cartelix\"\n"
        "\"Utf8\"=\"Documentação\"\n\n"
        "[Software\\\\Wow6432Node\\\\Kestrova\\\\Cartelix\\\\06.00\\\\Setup] 1700000000\n"
        "#time=1d9f3a2b4c5d6e7\n"
        "\"Path\"=\"C:\\\\Program Files (x86)\\\\Cartelix\\\\\"\n");
    const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Cartelix\\06.00\\Setup\\";
    EXPECT_EQ(registry.Read(key + "Path"), "C:\\Program Files (x86)\\Cartelix\\");
    // Values only the native key holds are still found.
    EXPECT_EQ(registry.Read(key + "Dono"), "João\tSilva");
    EXPECT_EQ(registry.Read(key + "Expand"), "%ProgramFiles%\\Cartelix");
    EXPECT_EQ(registry.Read(key + "Utf8"), "Documentação");
    // An export of a 64-bit Windows has the key itself.
    const RegistryFile exported = RegistryFile::Parse(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Kestrova]\n\"a\"=\"32\"\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova]\n\"a\"=\"64\"\n");
    EXPECT_EQ(exported.Read("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\a"), "32");
}

TEST(RegistryFile, OlderExportsOtherFormatsAndMissingFiles) {
    // Eight-bit text, and UTF-8 after a byte-order mark as some editors save it.
    const RegistryFile latin1 = RegistryFile::Parse(
        "REGEDIT4\n\n[HKLM\\SOFTWARE\\Kestrova\\Applications]\n\"Nome\"=\"s\xEDmbolos\"\n");
    EXPECT_EQ(latin1.Read(kApplications + "Nome"), "símbolos");
    const RegistryFile utf8 =
        RegistryFile::Parse("\xEF\xBB\xBFREGEDIT4\r\n[HKLM\\A]\r\n\"b\"=\"é\"\r\n");
    EXPECT_EQ(utf8.Read("HKEY_LOCAL_MACHINE\\A\\b"), "é");

    EXPECT_EQ(kvltest::ErrorOf(
                  [] { RegistryFile::Parse("[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\"a\"=\"b\"\n"); }),
              kRegistryFileInvalid);
    EXPECT_EQ(kvltest::ErrorOf([] { RegistryFile::Parse(""); }), kRegistryFileInvalid);
    // A registry file that is not there is said to be missing, by its name.
    EXPECT_THAT([] { RegistryFile::Load("/nonexistent/system.reg"); },
                Throws<kvl::Error>(
                    AllOf(Property(&kvl::Error::number, kRegistryFileNotFound),
                          Property(&kvl::Error::description,
                                   "O ficheiro de registo /nonexistent/system.reg não existe."))));
}

}  // namespace
}  // namespace setup::testing
