#pragma once
// A runner for the application services that answers from a script and remembers what it
// was given: the services' SQL texts and their reading of rows are tested without a driver.

#include <deque>
#include <regex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "../../kvl/services/Runner.h"

namespace kvltest {

class FakeRunner : public kvl::services::Runner {
  public:
    std::vector<std::string> queries;                // every query's text, in order
    std::vector<std::vector<std::string>> together;  // every RunTogether's commands
    std::deque<kvl::services::Answer> answers;       // past the script: no rows
    std::string pending;                             // the client's pending text

    // The scripted answer as given: no test scripts more rows than the service asks for.
    kvl::services::Answer Query(const std::string& command, size_t) override {
        queries.push_back(command);
        if (answers.empty()) return {};
        kvl::services::Answer a = std::move(answers.front());
        answers.pop_front();
        return a;
    }
    kvl::services::Answer QueryAfterPending(const std::string& command, size_t maxRows) override {
        return Query(std::exchange(pending, {}) + command, maxRows);
    }
    bool RunTogether(const std::vector<std::string>& commands) override {
        together.push_back(commands);
        return true;
    }
    std::string Literal(std::string_view value) const override {
        return std::regex_replace(std::string(value), std::regex("'"), "''");
    }

    // An answer of one result set whose rows hold these texts.
    static kvl::services::Answer Rows(const std::vector<std::vector<std::string>>& rows) {
        kvl::services::Answer a{{{}}};
        for (const auto& r : rows) a.sets[0].push_back({{r.begin(), r.end()}});
        return a;
    }
};

}  // namespace kvltest
