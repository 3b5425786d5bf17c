// The single-instance guard, between two guards in this process and against the real program
// started as child processes.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <optional>

#include "app/qt/os_version_query.h"
#include "app/qt/single_instance.h"
#include "app/qt/termination_requests.h"
#include "text/lang_text.h"
#include "ui/qt/qt_test_support.h"

namespace fwup::testing {
namespace {

const QString kStem = QStringLiteral("Viruzu__Firmware_Upgrade_Tool_FW_");

QProcessEnvironment ProgramEnvironment(const QString& runtimeDir) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("VIRUZU_FWUP_EMULATE"),
                       QStringLiteral(FWUP_SCENARIO_DIR "/one-printer-ready.json"));
    return environment;
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { UiLangId.store(0); }

    // The same name on every system, whatever the user's language.
    void nameIsTheEnglishTitleWithTheTag() {
        UiLangId.store(LANG_RUSSIAN);
        QCOMPARE(AppMutexName(), std::wstring(L"Viruzu  Firmware Upgrade Tool(FW)"));
        QCOMPARE(InstanceFileStem(AppMutexName()), kStem);
        QCOMPARE(InstanceFileStem(L"a/../b c"), QStringLiteral("a_.._b_c"));
    }

    void laterGuardAsksTheFirstToRaise() {
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        SingleInstanceGuard first(directory.path(), kStem);
        QCOMPARE(first.Acquire(), SingleInstanceGuard::Outcome::kFirstInstance);
        QSignalSpy raised(&first, &SingleInstanceGuard::raiseRequested);

        SingleInstanceGuard second(directory.path(), kStem);
        QCOMPARE(second.Acquire(), SingleInstanceGuard::Outcome::kAnotherRunning);
        QVERIFY(raised.wait(5000));
        QCOMPARE(raised.count(), 1);
    }

    // The lock goes with the process (here: the guard), even though its file stays.
    void lockIsReleasedWithItsHolder() {
        QTemporaryDir directory;
        {
            SingleInstanceGuard first(directory.path(), kStem);
            QCOMPARE(first.Acquire(), SingleInstanceGuard::Outcome::kFirstInstance);
        }
        QVERIFY(QFile::exists(QDir(directory.path()).filePath(kStem + QStringLiteral(".lock"))));
        SingleInstanceGuard next(directory.path(), kStem);
        QCOMPARE(next.Acquire(), SingleInstanceGuard::Outcome::kFirstInstance);
    }

    void noLockAtAllEndsTheProgram() {
        SingleInstanceGuard guard(QStringLiteral("/nonexistent/fwup-guard-test"), kStem);
        QCOMPARE(guard.Acquire(), SingleInstanceGuard::Outcome::kFailed);
    }

    // The real program: a second start ends at once without a window, the first keeps running
    // and closes cleanly when the session asks it to terminate.
    void secondProgramEndsAndFirstClosesOnRequest() {
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        QProcess first;
        first.setProcessEnvironment(ProgramEnvironment(runtime.path()));
        first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        first.start(QStringLiteral(FWUP_PROGRAM_PATH), {});
        QVERIFY(first.waitForStarted(10000));
        // The socket appears once the first instance holds the lock and listens.
        const QString socket = QDir(runtime.path()).filePath(kStem + QStringLiteral(".socket"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 30000);

        QProcess second;
        second.setProcessEnvironment(ProgramEnvironment(runtime.path()));
        second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        second.start(QStringLiteral(FWUP_PROGRAM_PATH), {});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        first.terminate();
        QVERIFY(first.waitForFinished(30000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
    }

    void terminationSignalBecomesARequest() {
        TerminationRequests termination;
        QSignalSpy requested(&termination, &TerminationRequests::requested);
        QCOMPARE(std::raise(SIGTERM), 0);
        QVERIFY(requested.wait(5000));
    }

    void kernelReleaseFeedsTheReport() {
        const std::optional<OsVersionFacts> facts = OsVersionFromKernelRelease("6.1.0-18-amd64");
        QVERIFY(facts.has_value());
        QCOMPARE(facts->majorVersion, 6u);
        QCOMPARE(facts->minorVersion, 1u);
        QCOMPARE(ClassifyOsVersion(*facts), 0);  // not Windows, so not Windows 10 either
        QVERIFY(!OsVersionFromKernelRelease("unknown").has_value());
    }
};

FWUP_QT_TEST_SUITE(SingleInstanceTest);

}  // namespace fwup::testing

#include "single_instance_test.moc"
