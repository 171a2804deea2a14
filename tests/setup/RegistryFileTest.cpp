// Registry values from the text files Windows and Wine write.

#include <gtest/gtest.h>

#include <fstream>

#include "SqliteLibrary.h"
#include "kvl/Error.h"
#include "linux/RegistryFile.h"

namespace setup {
namespace {

constexpr const char* kApplications = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications\\";

// Text as Windows writes a version 5 export: UTF-16LE with a byte-order mark.
std::string Utf16Export(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

int32_t ErrorOf(const RegistryFile& registry, std::string_view path) {
    try {
        registry.Read(path);
    } catch (const kvl::Error& error) {
        return error.number();
    }
    return 0;
}

TEST(RegistryFile, Utf16ExportWithEscapes) {
    const RegistryFile registry = RegistryFile::Parse(
        Utf16Export(u"Windows Registry Editor Version 5.00\r\n\r\n"
                    u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications]\r\n"
                    u"@=\"padrão\"\r\n"
                    u"\"DefaultJCache\"=\"C:\\\\Programas\\\\Cartelix \\\"06.00\\\"\\\\\"\r\n"
                    u"\"Versão\"=dword:0000002a\r\n"
                    u"\"Expand\"=hex(2):25,00,54,00,45,00,4d,00,\\\r\n"
                    u"  50,00,25,00,00,00\r\n"
                    u"\"Bytes\"=hex:01,02\r\n"));
    EXPECT_EQ(registry.Read(std::string(kApplications) + "DefaultJCache"),
              "C:\\Programas\\Cartelix \"06.00\"\\");
    EXPECT_EQ(registry.Read("hklm\\software\\kestrova\\applications\\defaultjcache"),
              "C:\\Programas\\Cartelix \"06.00\"\\");
    EXPECT_EQ(registry.Read(kApplications), "padrão");
    EXPECT_EQ(registry.Read(std::string(kApplications) + "VERSÃO"), "42");
    EXPECT_EQ(registry.Read(std::string(kApplications) + "Expand"), "%TEMP%");
    EXPECT_EQ(ErrorOf(registry, std::string(kApplications) + "Bytes"), kvl::kTypeMismatch);
}

TEST(RegistryFile, Regedit4InEightBitText) {
    const RegistryFile registry = RegistryFile::Parse(
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications]\n"
        "\"Nome\"=\"Simbologia de s\xEDmbolos\"\n");
    EXPECT_EQ(registry.Read(std::string(kApplications) + "Nome"), "Simbologia de símbolos");
}

TEST(RegistryFile, WineSystemRegRelativeToTheMachine) {
    const RegistryFile registry = RegistryFile::Parse(
        "WINE REGISTRY Version 2\n"
        ";; All keys relative to \\\\Machine\n\n"
        "#arch=win32\n\n"
        "[Software\\\\Kestrova\\\\Cartelix Professional\\\\06.00\\\\Setup] 1733480000\n"
        "#time=1db47c8a2b3c4d0\n"
        "\"Path\"=\"C:\\\\Programas\\\\Cartelix\\\\\"\n"
        "\"Dono\"=\"Jo\\xe3o\\tSilva\"\n"
        "\"Expand\"=str(2):\"%ProgramFiles%\\\\Cartelix\"\n"
        "\"Utf8\"=\"Documentação\"\n");
    const std::string key =
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Cartelix Professional\\06.00\\Setup\\";
    EXPECT_EQ(registry.Read(key + "Path"), "C:\\Programas\\Cartelix\\");
    EXPECT_EQ(registry.Read(key + "Dono"), "João\tSilva");
    EXPECT_EQ(registry.Read(key + "Expand"), "%ProgramFiles%\\Cartelix");
    EXPECT_EQ(registry.Read(key + "Utf8"), "Documentação");
}

TEST(RegistryFile, MissingKeysAndValuesAreErrors) {
    const RegistryFile registry = RegistryFile::Parse(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications]\r\n"
        "\"DefaultJCache\"=\"06.00\"\r\n"
        "\"Removed\"=-\r\n\r\n"
        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Gone]\r\n"
        "\"Value\"=\"x\"\r\n");
    for (const std::string& path :
         {std::string(kApplications) + "Other", std::string(kApplications) + "Removed",
          std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Gone\\Value"),
          std::string("HKEY_CURRENT_USER\\SOFTWARE\\Kestrova\\Applications\\DefaultJCache"),
          std::string("DefaultJCache")}) {
        EXPECT_EQ(ErrorOf(registry, path), kRegistryKeyNotFound) << path;
    }
    try {
        registry.Read(std::string(kApplications) + "Other");
    } catch (const kvl::Error& error) {
        EXPECT_EQ(error.description(),
                  "Unable to open registry key \"HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\"
                  "Applications\\Other\" for reading.");
    }
}

TEST(RegistryFile, FilesOfOtherFormatsAreRefusedAndMissingFilesAreEmpty) {
    EXPECT_THROW(RegistryFile::Parse("[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\"a\"=\"b\"\n"), kvl::Error);
    EXPECT_THROW(RegistryFile::Parse(""), kvl::Error);

    const std::filesystem::path folder = testing::NewFolder();
    const RegistryFile missing = RegistryFile::Load(folder / "system.reg");
    EXPECT_EQ(ErrorOf(missing, std::string(kApplications) + "DefaultJCache"), kRegistryKeyNotFound);
    std::ofstream(folder / "user.reg") << "\xEF\xBB\xBFREGEDIT4\r\n[HKLM\\A]\r\n\"b\"=\"c\"\r\n";
    EXPECT_EQ(RegistryFile::Load(folder / "user.reg").Read("HKEY_LOCAL_MACHINE\\A\\b"), "c");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace setup
