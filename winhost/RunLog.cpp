#include "winhost/RunLog.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <string>

#include "winhost/CommandLine.h"
#include "winhost/Console.h"

namespace winhost {

namespace {

std::ofstream& Stream() {
    static std::ofstream stream;
    return stream;
}

std::string Now() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

void RunLog::Open(const std::filesystem::path& file) {
    std::ofstream& stream = Stream();
    stream.close();
    stream.clear();
    stream.open(file, std::ios::app);
    if (!stream) throw UsageError("cannot write the log file " + file.string());
}

void RunLog::Write(std::string_view text) {
    std::ofstream& stream = Stream();
    if (!stream.is_open()) return;
    stream << Now() << ' ' << OneLine(text) << std::endl;
}

}  // namespace winhost
