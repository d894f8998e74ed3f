#pragma once
// The committed import fixtures (tests/data/import) and small helpers.

#include "support/TempDir.h"

#include <string>

namespace tarvo::test {

inline std::string ImportFixture(const std::string& name) {
    return std::string(TARVO_TEST_DATA_DIR) + "/import/" + name;
}

inline std::string ImportFixtureText(const std::string& name) {
    return ReadText(ImportFixture(name));
}

} // namespace tarvo::test
