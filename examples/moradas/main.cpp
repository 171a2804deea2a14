// kvl-moradas: the streets of the sample database in a Qt window, on the KVL2005 library.

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ClientSession.h"
#include "MainWindow.h"
#include "kvl/kvlSERV.h"
#include "kvlqt/QtDialogs.h"

namespace {

// Button names separated by commas answer the message boxes of a run without a user, one
// per box, as the installers' own variables do.
std::optional<std::string> ScriptedAnswers() {
    const char* answers = std::getenv("KVL_MORADAS_ANSWERS");
    return answers ? std::optional<std::string>(answers) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    // The command line is read before the window system is reached, so --help and a usage
    // error need no display.
    moradas::ClientOptions options;
    std::shared_ptr<kvlqt::QtDialogs> dialogs;
    try {
        options = moradas::ParseClientOptions(std::vector<std::string>(argv + 1, argv + argc));
        const std::optional<std::string> answers = ScriptedAnswers();
        dialogs = std::make_shared<kvlqt::QtDialogs>(answers);
    } catch (const std::exception& e) {
        std::cerr << moradas::kProgram << ": " << e.what() << " (" << moradas::kProgram
                  << " --help lists the options)\n";
        return 2;
    }
    if (options.help) {
        std::cout << moradas::ClientHelpText();
        return 0;
    }
    QApplication app(argc, argv);
    // Qt takes the C library's locale from the environment, and the ODBC drivers write numbers
    // with its separator (psqlODBC writes 262,5 for a Portuguese user): values must arrive
    // plain. The user's notation comes from QLocale, which reads the environment itself.
    setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationDisplayName(QStringLiteral("Moradas"));
    std::ostringstream err;
    auto session = !options.createSample || moradas::CreateSample(options, err)
                       ? moradas::OpenClientSession(options, dialogs, err)
                       : nullptr;
    if (!session) {
        std::cerr << err.str();
        dialogs->Pergunta(moradas::kProgram, err.str(), kvl::kIconError);
        return 1;
    }
    int status = 0;
    {
        moradas::MainWindow window(session);
        window.show();
        status = QApplication::exec();
    }
    session->Fecha();
    return status;
}
