#include "app/qt/termination_requests.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

namespace fwup {
namespace {

// A signal handler may only write to a descriptor; the notifier reads it on the GUI thread.
std::atomic<int> signalWriteFd{-1};

}  // namespace

TerminationRequests::TerminationRequests(QObject* parent) : QObject(parent) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_[0] = pipe_[1] = -1;
        return;
    }
    signalWriteFd.store(pipe_[1]);
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char drained[16];
        while (::read(pipe_[0], drained, sizeof drained) > 0) {
        }
        emit requested();
    });

    struct sigaction action {};
    action.sa_handler = &TerminationRequests::OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &previousTerm_);
    ::sigaction(SIGINT, &action, &previousInt_);
}

TerminationRequests::~TerminationRequests() {
    if (pipe_[1] < 0) {
        return;
    }
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
    ::sigaction(SIGINT, &previousInt_, nullptr);
    signalWriteFd.store(-1);
    if (notifier_ != nullptr) {
        notifier_->setEnabled(false);
    }
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void TerminationRequests::OnSignal(int) {
    const int savedErrno = errno;
    const int fd = signalWriteFd.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace fwup
