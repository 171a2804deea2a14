#pragma once
// Where results go: standard output, or a file named with -o or \o.

#include <fstream>
#include <memory>
#include <ostream>
#include <string>

namespace kvlsql {

class OutputTarget {
  public:
    explicit OutputTarget(std::ostream& standard) : standard_(standard) {}

    std::ostream& Stream() { return file_ ? *file_ : standard_; }
    // Sends results to the file from now on, emptied first; throws std::runtime_error with
    // the reason when it cannot be written, and results still go where they went.
    void ToFile(const std::string& path);
    // Sends results to standard output again.
    void ToStandard() { file_.reset(); }

  private:
    std::ostream& standard_;
    std::unique_ptr<std::ofstream> file_;
};

}  // namespace kvlsql
