// Runs the Qt layer's QTest suites: all of them, or the one named by the first argument.

#include <QApplication>
#include <QTest>
#include <cstring>
#include <vector>

#include "ui/qt/qt_test_application.h"
#include "ui/qt/qt_test_support.h"

namespace fwup::testing {

std::vector<std::pair<std::string, SuiteFactory>>& QtTestSuites() {
    static std::vector<std::pair<std::string, SuiteFactory>> suites;
    return suites;
}

}  // namespace fwup::testing

int main(int argc, char* argv[]) {
    const fwup::testing::QtTestApplication application(argc, argv);

    std::vector<char*> arguments(argv, argv + argc);
    const char* only = nullptr;
    if (arguments.size() > 1 && arguments[1][0] != '-') {
        only = arguments[1];
        arguments.erase(arguments.begin() + 1);
    }
    int failures = 0;
    int ran = 0;
    for (const auto& [name, factory] : fwup::testing::QtTestSuites()) {
        if (only != nullptr && name != only) {
            continue;
        }
        ++ran;
        const std::unique_ptr<QObject> suite = factory();
        failures += QTest::qExec(suite.get(), static_cast<int>(arguments.size()), arguments.data());
    }
    if (ran == 0) {
        return 2;  // a suite name that matches nothing must not pass silently
    }
    return failures == 0 ? 0 : 1;
}
