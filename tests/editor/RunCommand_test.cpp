#include <QDir>
#include <QFile>
#include <functional>
#include <string>
#include <vector>

#include "CommandTable.h"
#include "FrameTestSupport.h"
#include "QtFrameServices.h"

namespace scrivo::testing {
namespace {

constexpr int kStartTimeoutMs = 10000;

// A stand-in ./Orvex in the working directory: every run writes the count of its arguments and
// each argument in brackets to a file run-<pid> of its own.
class RunCommandTest : public FrameTest {
  protected:
    void ConfigureServices(FrameServices &services) override { services.processes = &m_processes; }

    void SetUp() override {
        FrameTest::SetUp();
        QFile script(QStringLiteral("Orvex"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(
            "#!/bin/sh\n"
            "out=\"run-$$\"\n"
            "{ printf '%s\\n' \"$#\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } "
            "> \"$out.part\" && mv \"$out.part\" \"$out\"\n");
        script.close();
        ASSERT_TRUE(script.setPermissions(script.permissions() | QFile::ExeOwner));
    }

    DetachedProcessStarter m_processes;

    static QStringList Runs() {
        return QDir::current().entryList({QStringLiteral("run-*")}, QDir::Files, QDir::Name);
    }

    // The records of the runs, once `count` of them have been written.
    static QStringList WaitForRuns(int count) {
        EXPECT_TRUE(QTest::qWaitFor(
            [count] {
                return Runs().size() >= count &&
                       QDir::current().entryList({QStringLiteral("*.part")}).isEmpty();
            },
            kStartTimeoutMs));
        QStringList records;
        for (const QString &run : Runs()) {
            QFile file(run);
            records.append(file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll())
                                                          : QString());
        }
        return records;
    }
};

TEST_F(RunCommandTest, StartsOrvexWithTheCurrentPathAsItsOnlyArgument) {
    ASSERT_TRUE(QDir().mkpath(QStringLiteral("my dir")));
    const std::string path =
        QDir::current().absoluteFilePath(QStringLiteral("my dir/a \"b\" $c.c")).toStdString();
    QFile source(QString::fromStdString(path));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.close();
    Frame().LoadDocument(path);

    Frame().ExecuteCommand(command::kRunStart);
    EXPECT_EQ(WaitForRuns(1), QStringList{QString::fromStdString("1\n[" + path + "]\n")});
    EXPECT_EQ(Frame().StatusPaneText(0), QStringLiteral("Ready"));
}

TEST_F(RunCommandTest, EachF5OnUntitledTextStartsOneProcessWithAnEmptyArgument) {
    QTest::keyClick(&Editor(), Qt::Key_F5);
    QTest::keyClick(&Editor(), Qt::Key_F5);
    EXPECT_EQ(WaitForRuns(2), (QStringList{QStringLiteral("1\n[]\n"), QStringLiteral("1\n[]\n")}));
}

TEST_F(RunCommandTest, OrvexThatCannotRunPrintsTheSystemsErrorNumberAndEndsReady) {
    struct Case {
        const char *name;
        std::function<bool()> spoil;
        const char *expected;
    };
    for (const Case &c : std::vector<Case>{
             {"not executable",
              [] { return QFile::setPermissions(QStringLiteral("Orvex"), QFile::ReadOwner); },
              "Failed to create process. Error code: 13\n"},
             {"missing", [] { return QFile::remove(QStringLiteral("Orvex")); },
              "Failed to create process. Error code: 2\n"},
         }) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.spoil());
        Frame();
        ::testing::internal::CaptureStdout();
        Frame().ExecuteCommand(command::kRunStart);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.expected);
        EXPECT_EQ(Frame().StatusPaneText(0), QStringLiteral("Ready"));
    }
    EXPECT_TRUE(Runs().isEmpty());
}

}  // namespace
}  // namespace scrivo::testing
