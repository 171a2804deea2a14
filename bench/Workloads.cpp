#include "Workloads.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "kvl/kvlRES.h"

namespace kvlrel {

int32_t ReconnectDialogs::Pergunta(std::string_view, std::string_view, int32_t style) {
    if ((style & 0xF) != kvl::kYesNo) return kvl::kIgnore;
    ++questions;
    return kvl::kYes;
}

std::string ApplicationNameSetting(const std::string& name) {
    return "ConnSettings=SET application_name TO '" + name + "'";
}

int32_t Backends(kvl::kvlSERV& observer, const std::string& name) {
    const std::string count = ValueOf(
        observer, "SELECT count(*) FROM pg_stat_activity WHERE application_name = '" + name + "'");
    return count.empty() ? -1 : std::stoi(count);
}

std::string ValueOf(kvl::kvlSERV& session, const std::string& sql) {
    auto r = session.Exec(sql);
    if (!r || r->erro || !r->TemLinhas()) return "";
    std::string value = r->Col(1).ToString();
    r->Liberta();
    return value;
}

std::string LostLinkCycle(kvl::kvlSERV& session, kvl::kvlSERV& killer) {
    auto& dialogs = dynamic_cast<ReconnectDialogs&>(*session.Dialogos);
    const int32_t asked = dialogs.questions;
    auto rows = session.Exec("SELECT pg_backend_pid(), generate_series(1, 5)");
    if (!rows || rows->erro || !rows->TemLinhas()) return "the query failed: " + session.ErroD;
    const std::string pid = rows->Col(1).ToString();
    if (ValueOf(killer, "SELECT pg_terminate_backend(" + pid + ")") != "1")
        return "backend " + pid + " was not terminated: " + killer.ErroD;
    // The server may still be ending the backend when the next fetch asks it for a row.
    while (rows->TemLinhas()) {
    }
    if (!rows->erro) return "the rows ended without an error";
    if (dialogs.questions != asked + 1) return "the lost link was not offered a reconnection";
    if (!session.Aberto) return "the reconnection failed: " + session.ErroD;
    rows.reset();
    if (ValueOf(session, "SELECT 41 + 1") != "42") return "no answer after reconnecting";
    return "";
}

int32_t OpenFileDescriptors() {
    int32_t n = 0;
    for ([[maybe_unused]] const auto& fd : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

int64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

}  // namespace kvlrel
