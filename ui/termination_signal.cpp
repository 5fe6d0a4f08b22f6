#include "ui/termination_signal.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace ui {

namespace {

// A signal handler may only do async-signal-safe work: it writes one byte to
// a socket whose other end the event loop watches.
int gSignalSocket[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalSocket[0], &byte, 1);
}

}  // namespace

void QuitOnTerminationSignal(QApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalSocket) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(gSignalSocket[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte;
        [[maybe_unused]] const ssize_t got = ::read(gSignalSocket[1], &byte, 1);
        // exit(), not quit(): quit() first asks the windows, and the main window refuses.
        app.exit(0);
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace ui
