#pragma once
// One QApplication for a test suite, on the offscreen platform unless another is set; Base is
// the fixture it extends.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace kvltest {

template <class Base = testing::Test>
class QtTest : public Base {
  protected:
    static void SetUpTestSuite() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "kvl-qt-test", *argv[] = {name, nullptr};
        application = std::make_unique<QApplication>(argc, argv);
    }
    static void TearDownTestSuite() { application.reset(); }

    static inline std::unique_ptr<QApplication> application;
};

}  // namespace kvltest
