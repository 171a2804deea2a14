#pragma once
// For readers that take a file: the fuzz input written to a file of this process.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace kvlfuzz {

// A file of this process for the input, removed when the process ends.
inline const std::string& FilePath() {
    struct File {
        std::string path = (std::filesystem::temp_directory_path() /
                            ("kvlfuzz-" + std::to_string(getpid())))
                               .string();
        ~File() { std::filesystem::remove(path); }
    };
    static const File file;
    return file.path;
}

// The path of a file holding exactly the given bytes, rewritten on every call.
inline const std::string& FileWith(const uint8_t* data, size_t size) {
    std::ofstream(FilePath(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return FilePath();
}

}  // namespace kvlfuzz
