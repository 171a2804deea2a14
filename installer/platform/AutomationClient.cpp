#include "platform/AutomationClient.h"

#include <QProcess>
#include <charconv>

#include "kvl/Error.h"
#include "platform/Processes.h"
#include "winhost/Errors.h"
#include "winhost/Wire.h"

namespace zovlt {

namespace {

constexpr int kReleaseWaitMs = 10000;
// A server that never says it is ready counts as one that could not be started.
constexpr int kStartWaitMs = 30000;

int32_t ParseNumber(const std::string& text) {
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) throw kvl::Error(kvl::kTypeMismatch);
    return value;
}

// One running server and its pipes, shared by the objects it handed out.
class Connection {
  public:
    Connection(const CommandLine& command, const std::string& className,
               const winhost::DriveMap& drives) {
        process_.setProcessEnvironment(ChildEnvironment(drives));
        process_.setProgram(QString::fromStdString(command.program.string()));
        process_.setArguments(command.arguments);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        if (!process_.waitForStarted() || !ReadsReady()) {
            throw winhost::NamedError(kvl::kCannotCreateObject, className);
        }
    }

    // The server ends when its input closes; one that hangs is stopped.
    ~Connection() {
        process_.closeWriteChannel();
        if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(kReleaseWaitMs)) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    std::string Call(std::string_view verb, const std::string& member,
                     const std::optional<std::string>& argument = std::nullopt) {
        if (process_.state() != QProcess::Running) throw Unavailable();
        process_.write(
            QByteArray::fromStdString(winhost::wire::Request(verb, member, argument) + "\n"));
        return winhost::wire::ValueOf(ReadLine());
    }

  private:
    static kvl::Error Unavailable() {
        return kvl::Error(winhost::kServerUnavailable,
                          std::string(winhost::PortugueseDescription(winhost::kServerUnavailable)));
    }

    bool ReadsReady() {
        try {
            return ReadLine(kStartWaitMs) == winhost::wire::kReady;
        } catch (const kvl::Error&) {
            return false;  // it ended before it was ready
        }
    }

    // Member calls wait as long as the server takes, as calls into another program do.
    std::string ReadLine(int waitMs = -1) {
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(waitMs) && !process_.canReadLine()) throw Unavailable();
        }
        QByteArray line = process_.readLine();
        line.chop(line.endsWith('\n') ? 1 : 0);  // values keep their own blanks
        return line.toStdString();
    }

    QProcess process_;
};

const char* BoolText(bool value) {
    return value ? "True" : "False";
}

std::string Indexed(const std::string& member, int32_t index) {
    return member + "(" + std::to_string(index) + ")";
}

class RemoteMenuGroup : public CadMenuGroup {
  public:
    RemoteMenuGroup(std::shared_ptr<Connection> connection, std::string handle)
        : connection_(std::move(connection)), handle_(std::move(handle)) {}

    void InsertMenuInMenuBar(int32_t menu, int32_t position) override {
        connection_->Call("call", handle_ + "." + Indexed("Menus.Item", menu) + ".InsertInMenuBar",
                          std::to_string(position));
    }

  private:
    std::shared_ptr<Connection> connection_;
    std::string handle_;
};

class RemoteApplication : public CadApplication {
  public:
    explicit RemoteApplication(std::shared_ptr<Connection> connection)
        : connection_(std::move(connection)) {}

    void SetVisible(bool visible) override { Put("Visible", BoolText(visible)); }
    std::string SupportPath() override { return Get("Preferences.Files.SupportPath"); }
    void SetSupportPath(const std::string& path) override {
        Put("Preferences.Files.SupportPath", path);
    }
    int32_t MenuGroupCount() override { return ParseNumber(Get("MenuGroups.Count")); }
    std::string MenuGroupName(int32_t index) override {
        return Get(Indexed("MenuGroups.Item", index) + ".Name");
    }
    void UnloadMenuGroup(int32_t index) override {
        connection_->Call("call", Indexed("MenuGroups.Item", index) + ".Unload");
    }
    std::unique_ptr<CadMenuGroup> LoadMenuGroup(const std::string& file) override {
        std::string handle = connection_->Call("call", "MenuGroups.Load", file);
        return std::make_unique<RemoteMenuGroup>(connection_, std::move(handle));
    }
    int32_t MenuBarCount() override { return ParseNumber(Get("MenuBar.Count")); }
    void CloseDocument(int32_t index, bool save) override {
        connection_->Call("call", Indexed("Documents", index) + ".Close", BoolText(save));
    }
    void Quit() override { connection_->Call("call", "Quit"); }

  private:
    std::string Get(const std::string& member) { return connection_->Call("get", member); }
    void Put(const std::string& member, const std::string& value) {
        connection_->Call("put", member, value);
    }

    std::shared_ptr<Connection> connection_;
};

}  // namespace

std::unique_ptr<CadApplication> CreateAutomationObject(const ClassRegistry& registry,
                                                       const std::string& className,
                                                       const winhost::DriveMap& drives) {
    const auto commandLine = registry.CommandFor(className);
    if (!commandLine) throw winhost::NamedError(kvl::kCannotCreateObject, className);
    CommandLine command;
    try {
        command = ResolveCommand(*commandLine);
    } catch (const kvl::Error& error) {
        // The program that serves the class is what is missing.
        throw kvl::Error(kvl::kCannotCreateObject,
                         std::string(winhost::PortugueseDescription(kvl::kCannotCreateObject)) +
                             ": " + className + " (" + winhost::Description(error) + ")");
    }
    return std::make_unique<RemoteApplication>(
        std::make_shared<Connection>(command, className, drives));
}

}  // namespace zovlt
