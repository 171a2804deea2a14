#pragma once
// Opening a session on each real backend for the tests that run on both.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Databases.h"
#include "ScriptedDialogs.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvltest {

// A test parameterised by backend ("sqlite", "postgres"), with an open session whose
// dialogs are scripted.
class BackendTest : public testing::TestWithParam<std::string> {
  protected:
    void SetUp() override;
    void TearDown() override;
    bool IsPostgres() const { return GetParam() == "postgres"; }
    // Runs a command that must succeed.
    void Run(const std::string& sql);

    SqliteFile file;
    std::shared_ptr<kvl::kvlSERV> session;
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
};

}  // namespace kvltest

#define KVL_BACKENDS(suite) \
    INSTANTIATE_TEST_SUITE_P(Drivers, suite, testing::Values("sqlite", "postgres"))
