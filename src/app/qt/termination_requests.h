#pragma once

#include <QObject>
#include <csignal>

class QSocketNotifier;

namespace fwup {

// Turns SIGTERM and SIGINT into a Qt signal on the thread that made the object, so that a
// session that ends, or Ctrl+C in a terminal, asks the main window to close as its close button
// would, and is refused the same way while a run is active. One object at a time; the previous
// handlers come back when it is destroyed.
class TerminationRequests final : public QObject {
    Q_OBJECT

  public:
    explicit TerminationRequests(QObject* parent = nullptr);
    ~TerminationRequests() override;
    TerminationRequests(const TerminationRequests&) = delete;
    TerminationRequests& operator=(const TerminationRequests&) = delete;

  signals:
    void requested();

  private:
    static void OnSignal(int signalNumber);

    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;  // a Qt child
    struct sigaction previousTerm_ {};
    struct sigaction previousInt_ {};
};

}  // namespace fwup
