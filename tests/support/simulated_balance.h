#pragma once
// A lab balance on the master side of a pseudo-terminal, for the port and
// the weighing sheet: every request line it receives is answered by
// `answer`. Header-only, for the suites that link Qt.

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace qv::test {

// The suites without a QApplication of their own get this one.
inline QCoreApplication& coreApplication() {
    if (QCoreApplication* running = QCoreApplication::instance()) return *running;
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// A balance on the master side of a pseudo-terminal: every request line it
// receives is answered by `answer`.
class SimulatedBalance {
public:
    SimulatedBalance() {
        coreApplication();
        char name[256];
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) std::abort();
        termios raw{};
        tcgetattr(slave_, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave_, TCSANOW, &raw);
        fcntl(master_, F_SETFL, O_NONBLOCK);
        path = QString::fromLocal8Bit(name);
        notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { onRequest(); });
    }
    ~SimulatedBalance() { unplug(), close(slave_); }
    void unplug() {
        notifier_.reset();
        if (master_ >= 0) close(std::exchange(master_, -1));
    }

    QString path;
    QByteArray received;
    std::function<QByteArray()> answer;  // empty: say nothing

private:
    void onRequest() {
        char buffer[256];
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0) return;
        received.append(buffer, n);
        if (!received.endsWith('\n') || !answer) return;
        const QByteArray reply = answer();
        if (write(master_, reply.constData(), size_t(reply.size())) != reply.size()) std::abort();
    }
    int master_ = -1, slave_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace qv::test
