// The desktop program as it starts for a user, except that the first paint
// of its main window prints the monotonic clock in nanoseconds and ends the
// process.
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/application.h"

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && qobject_cast<QMainWindow*>(watched)) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

void installProbe() { qApp->installEventFilter(new FirstPaint); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)

int main(int argc, char** argv) { return qv::app::runApplication(argc, argv); }
