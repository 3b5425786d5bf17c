#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <string_view>

class QLocalServer;

namespace fwup {

// The tag after the title in the single-instance name.
inline constexpr std::wstring_view strMutexTag = L"FW";

// The single-instance name: the English title (text 0, whatever the user's language, since it is
// fixed before the language is chosen) and the tag in parentheses, "Viruzu  Firmware Upgrade
// Tool(FW)".
std::wstring AppMutexName();

// The single-instance name as a file name: every character outside ASCII letters, digits, '.',
// '-' and '_' becomes '_'.
QString InstanceFileStem(std::wstring_view mutexName);

// Where the guard's files go: $XDG_RUNTIME_DIR, else Qt's runtime location, else a folder of the
// user's own in the temporary directory. Each is private to the user, so every process of the
// user sees the same files and no other user's.
QString UserRuntimeDirectory();

// Lets one instance of the program run per user. The first instance holds an advisory lock
// (flock) on "<stem>.lock" in `directory`, which the system releases when the process ends, and
// listens on the local socket "<stem>.socket" beside it. A later instance finds the lock held,
// asks the first one through the socket to raise its window, and is told to end.
class SingleInstanceGuard final : public QObject {
    Q_OBJECT

  public:
    enum class Outcome {
        kFirstInstance,   // this process runs; raiseRequested comes when a later one starts
        kAnotherRunning,  // the running instance was asked to show itself; end without a window
        kFailed,          // no lock could be made at all; end without a window
    };

    SingleInstanceGuard(QString directory, QString fileStem, QObject* parent = nullptr);
    ~SingleInstanceGuard() override;
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // Takes the lock, or finds it held. Call once, on the thread that runs the event loop.
    Outcome Acquire();

  signals:
    // A later instance asked this one to raise its window.
    void raiseRequested();

  private:
    void Listen();
    void AskRunningInstanceToRaise() const;

    const QString lockPath_;
    const QString socketPath_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;  // a Qt child of the guard
};

}  // namespace fwup
