// The shared library exports exactly the functions its public header documents.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "temp_dir.h"
#include "vcam_process.h"

namespace {

std::set<std::string> header_functions() {
    std::string text = testsupport::read_file(SARVIK_HEADER_PATH);
    std::set<std::string> names;
    // Declarations start a line with the export macro; its own #define does not.
    std::regex decl(R"(^SARVIK_API[^;{(]*?\b([A-Za-z_][A-Za-z0-9_]*)\s*\()");
    std::istringstream in(text);
    std::string line;
    std::smatch m;
    while (std::getline(in, line))
        if (std::regex_search(line, m, decl)) names.insert(m[1]);
    return names;
}

std::set<std::string> exported_symbols() {
    std::string out;
    int rc = testsupport::run_program({"/usr/bin/nm", "-D", "--defined-only", SARVIK_LIBRARY_PATH}, &out);
    EXPECT_EQ(rc, 0);
    std::set<std::string> names;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string addr, kind, name;
        if (fields >> addr >> kind >> name) names.insert(name.substr(0, name.find('@')));
    }
    return names;
}

}  // namespace

TEST(Exports, OnlyDocumentedNamesLeaveTheLibrary) {
    auto documented = header_functions();
    auto exported = exported_symbols();
    ASSERT_FALSE(documented.empty());
    ASSERT_FALSE(exported.empty());
    for (const std::string &name : exported) EXPECT_TRUE(documented.count(name)) << "undocumented export: " << name;
    for (const std::string &name : documented) EXPECT_TRUE(exported.count(name)) << "declared but not exported: " << name;
}
