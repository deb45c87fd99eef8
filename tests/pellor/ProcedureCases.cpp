#include "tests/pellor/ProcedureCases.h"

#include <gtest/gtest.h>

#include "tests/pellor/SettingsFolder.h"

namespace pellorsettings {

std::string PublicProperty(const std::string& id, const std::string& value) {
    return "[Camera0.Public]\n" + id + " = " + value + "\n";
}

std::string CameraProcedure(const std::string& key, const std::string& value) {
    return "[Camera0.Procedures]\n" + key + " = " + value + "\n";
}

std::string CameraKey(const std::string& key, const std::string& value) {
    return "[Camera0]\n" + key + " = " + value + "\n";
}

void CheckCases(const std::string& folderPrefix, const std::vector<ProcedureCase>& cases) {
    std::vector<std::string> commands;
    for (const ProcedureCase& c : cases) {
        commands.push_back("reset");
        if (!c.setup.empty()) {
            commands.push_back(SimCommand(c.setup));
        }
        commands.push_back(c.call);
    }
    SettingsFolder folder(folderPrefix);
    const SettingsRun run = folder.Run(commands);
    ASSERT_TRUE(run.process.started);
    ASSERT_FALSE(run.process.timedOut);
    ASSERT_FALSE(run.steps.empty()) << run.process.out;
    ASSERT_EQ(run.steps[0].code, 0u) << "open failed:\n" << run.process.out;

    std::size_t at = 1;
    for (const ProcedureCase& c : cases) {
        SCOPED_TRACE(c.title);
        const Step* reset = run.Find("reset", at);
        ASSERT_NE(reset, nullptr) << "the run ended early:\n" << run.process.err;
        at = static_cast<std::size_t>(reset - run.steps.data()) + 1;
        if (!c.setup.empty()) {
            const Step* setup = run.Find(SimCommand(c.setup), at);
            ASSERT_NE(setup, nullptr);
            EXPECT_EQ(setup->code, 0u) << "scenario refused: " << c.setup;
        }
        const Step* step = run.Find(c.call, at);
        ASSERT_NE(step, nullptr) << c.call;
        at = static_cast<std::size_t>(step - run.steps.data()) + 1;

        EXPECT_EQ(step->code, c.code);
        EXPECT_EQ(step->trace, c.trace);
        if (!c.bytes.empty()) {
            EXPECT_EQ(step->bytes.substr(0, c.bytes.size()), c.bytes);
        }
        if (c.logName != nullptr) {
            const std::string entry = std::string("[FUNC] ") + c.logName;
            EXPECT_TRUE(step->HasLog(entry)) << entry;
            EXPECT_TRUE(step->HasLog(entry + " - " + std::to_string(c.code))) << entry;
        }
        for (const std::string& line : c.lines) {
            EXPECT_TRUE(step->HasLog(line)) << line;
        }
    }
    if (!::testing::Test::HasFailure()) {
        kvttest::RemoveTree(folder.Path());
    }
}

}  // namespace pellorsettings
