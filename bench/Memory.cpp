#include "Memory.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "kvl/kvlRES.h"

namespace kvlbench {

namespace {

// A size line of /proc/self/status ("VmRSS:  1234 kB"), in bytes.
double StatusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) * 1024;
    throw std::runtime_error("no " + field + " in /proc/self/status");
}

// Starts the peak over from the present resident size. Where the kernel refuses, the
// peak so far stands as the base, which can only understate the growth.
double ResetPeak() {
    if (std::ofstream("/proc/self/clear_refs") << "5" << std::flush) return StatusBytes("VmRSS");
    return StatusBytes("VmHWM");
}

double TextBytes(kvl::kvlRES& r) {
    double bytes = 0;
    while (r.TemLinhas())
        for (int16_t n = 1; n <= r.Cols; ++n)
            bytes += static_cast<double>(r.Col(n).ToString().size());
    return bytes;
}

std::string SelfPath() {
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) throw std::runtime_error("cannot find this program");
    return std::string(path, static_cast<size_t>(n));
}

}  // namespace

MemoryUse MeasureInFreshProcess(const Backend& b, int32_t rows) {
    std::string command = "'" + SelfPath() + "' " + kMemoryChild + " " + b.name + " '" +
                          SqlitePath() + "' " + std::to_string(rows);
    FILE* child = popen(command.c_str(), "r");
    if (!child) throw std::runtime_error("cannot start " + command);
    MemoryUse use;
    int read = std::fscanf(child, "%lf %lf", &use.peakBytes, &use.textBytes);
    if (pclose(child) != 0 || read != 2) throw std::runtime_error("the measuring copy failed");
    return use;
}

int MemoryChild(char** argv) {
    UseSqliteFile(argv[3]);
    int32_t rows = std::stoi(argv[4]);
    const Backend* b = Find(argv[2]);
    if (!b) return 1;
    auto s = Open(*b);
    auto r = s->Exec(Query(rows));
    double base = ResetPeak();
    if (r->CarregaTudo() != rows) return 1;
    double peak = StatusBytes("VmHWM") - base;
    std::printf("%.0f %.0f\n", peak, TextBytes(*r));
    return 0;
}

}  // namespace kvlbench
