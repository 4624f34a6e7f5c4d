#pragma once

#include "engine/errlog.h"
#include "engine/runcontext.h"
#include "tests/common/fakes.h"
#include "tests/common/tempdir.h"
#include "tests/common/testfs.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

namespace tavil::test {

// A Qt text from UTF-8 source text.
QString q(const char* utf8);

// The entries of a folder in code-point order.
QStringList entries(const TempDir& d);

// The first bytes of every error log: its header and an empty line.
inline const QByteArray kLogHeader = QByteArrayLiteral("次の変更中にｴﾗｰが発生しました。\r\n\r\n");

// What an operation runs against on disk: a folder of its own, the real file
// system, the fakes for dialogs, clock and window, and a context over them
// that runs in that folder. A table test makes one per case for a clean start.
struct RunBench {
    RunBench();
    RunBench(const RunBench&) = delete;
    RunBench& operator=(const RunBench&) = delete;

    // Makes files in dir that hold their own name, so a lost or overwritten
    // file shows.
    void make(const QStringList& names) const;

    // Opens the error log in logDir for ctx (or another context) and turns
    // logging on; false when the log cannot be opened.
    bool openLog();
    bool openLog(engine::RunContext& context);
    // Closes the log and gives its bytes.
    QByteArray logBytes();

    // Another context over the same file system and fakes, for a test that
    // runs more than once from a fresh start: it runs in dir on names, with
    // logging off.
    std::unique_ptr<engine::RunContext> context(const QStringList& names);

    TempDir dir;    // the folder of the run
    TempDir logDir; // where the error log goes
    TestFileSystem fs;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeHost host;
    engine::ErrorLog log;
    engine::RunContext ctx;
};

// The fixture of the operation tests on disk.
class OperationTest : public ::testing::Test, public RunBench {};

} // namespace tavil::test
