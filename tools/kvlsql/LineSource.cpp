#include "LineSource.h"

namespace kvlsql {

LineSource::Read StreamLines::Next(std::string& line, const std::string& prompt) {
    if (prompt_) *prompt_ << prompt << std::flush;
    if (std::getline(in_, line)) return Read::kLine;
    if (prompt_) *prompt_ << '\n';
    return in_.bad() ? Read::kFailed : Read::kEnd;
}

}  // namespace kvlsql
