#include "tests/support/TestLog.h"

namespace test_log {

TLogFile::TLogFile() : FPath(FDir.Path() + "events.log") {
    testing_support::SetEnvironment(Variable, FPath);
}

TLogFile::~TLogFile() { testing_support::SetEnvironment(Variable, ""); }

std::vector<std::string> TLogFile::Lines() const { return testing_support::ReadLines(FPath); }

}  // namespace test_log
