#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include "balance/balance_port.h"
#include "support/simulated_balance.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << text.toStdString(); }
QT_END_NAMESPACE

namespace qv::balance {
namespace {

TEST(BalanceProtocol, Answers) {
    using K = ReadingKind;
    constexpr Protocol S = Protocol::MtSics, L = Protocol::Line;
    const char* const unsettled = "The balance has not settled yet.";
    // The protocol, the line, what it reads as, and its message (null: not checked).
    const std::tuple<Protocol, const char*, K, double, const char*> cases[] = {
        {S, "S S      12.3456 g", K::Stable, 12.3456, ""},
        {S, "S S     -0.0021 kg  ", K::Stable, -2.1, ""},
        {S, "S D      12.34 g", K::Unstable, 12.34, unsettled},
        {S, "S I", K::Busy, 0, "The balance is busy; read it again."},
        {S, "S +", K::Overload, 0, "The balance is overloaded."},
        {S, "S -", K::Underload, 0, "The balance is underloaded."},
        {S, "ES", K::Error, 0, "The balance did not understand the command (ES)."},
        {S, "ET", K::Error, 0, "The balance reports a transmission error (ET)."},
        {S, "EL", K::Error, 0, "The balance cannot carry out the command (EL)."},
        {S, "S S 12.3 ct", K::Error, 0, "The balance weighs in \"ct\"; set it to g, mg or kg."},
        {S, "S S 12.3x g", K::Garbage, 0, "The balance answered \"S S 12.3x g\", which is not a weight."},
        {S, "+   12.3456 g", K::Garbage, 0, nullptr},
        {L, "+   12.3456 g", K::Stable, 12.3456, ""},
        {L, "ST,+00012.3456  g", K::Stable, 12.3456, ""},
        {L, "N     -   512.5 mg", K::Stable, -0.5125, ""},
        {L, "     12.3456 g  ?", K::Unstable, 12.3456, unsettled},
        {L, "US,+00012.3456  g", K::Unstable, 12.3456, nullptr},
        {L, "+   12.3456", K::Unstable, 12.3456, nullptr},
        {L, "OL,+9999999 g", K::Overload, 0, "The balance is overloaded."},
        {L, "ST,+0.0012 kg", K::Stable, 1.2, ""},
        {L, "12.3 lb", K::Error, 0, nullptr},
        {L, "12.3 g g", K::Garbage, 0, nullptr},
        {L, "#\x01\xff", K::Garbage, 0, "The balance answered \"#??\", which is not a weight."},
        {L, "weight", K::Garbage, 0, nullptr},
        {L, "12:30 g", K::Garbage, 0, nullptr},
    };
    for (const auto& [protocol, line, kind, grams, message] : cases) {
        SCOPED_TRACE(line);
        const Reading r = parseReading(protocol, line);
        EXPECT_EQ(r.kind, kind);
        EXPECT_NEAR(r.grams, grams, 1e-12);
        if (message) {
            EXPECT_EQ(r.message, message);
        }
    }
}

// What one reading gives: "<grams> g", "not taken: <why>" or "failed: <why>".
QString readOnce(BalancePort& port) {
    QStringList said;
    QObject context;
    QObject::connect(&port, &BalancePort::stableWeight, &context,
                     [&](double g) { said << QString::number(g) + " g"; });
    QObject::connect(&port, &BalancePort::notTaken, &context,
                     [&](const QString& t) { said << "not taken: " + t; });
    QObject::connect(&port, &BalancePort::failed, &context,
                     [&](const QString& t) { said << "failed: " + t; });
    port.requestReading();
    for (QDeadlineTimer end(10000); said.isEmpty() && !end.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
    return said.join(" | ");
}

TEST(BalancePort, ReadsASimulatedBalance) {
    test::SimulatedBalance sim;
    BalancePort port;
    PortSettings settings{.portName = sim.path, .timeoutMs = 300};
    const QString on = "failed: The balance on " + sim.path;
    const struct {
        Protocol protocol;
        const char* answer;  // null: says nothing
        QString said;        // what the reading gives begins so
        bool unplug = false;
    } cases[] = {
        {Protocol::MtSics, "S S      12.3456 g\r\n", "12.3456 g"},
        {Protocol::MtSics, "S D      12.3 g\r\n", "not taken: The balance has not settled yet."},
        {Protocol::MtSics, "\x15\xfe#!\r\n", "failed: The balance answered \"??#!\", which is not a weight."},
        {Protocol::MtSics, nullptr, on + " did not answer within 0.3 s. Check that it is on"},
        {Protocol::MtSics, "S S   12.", on + " sent an incomplete answer (\"S S   12.\")"},
        {Protocol::Line, "ST,+00012345.6 mg\r\n", "12.3456 g"},
        {Protocol::Line, "+   12.3", on + " was disconnected. Check the cable and read again.", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said.toStdString());
        settings.protocol = c.protocol;
        port.setSettings(settings);
        sim.received.clear();
        sim.answer = nullptr;
        if (c.answer)
            sim.answer = [&] {
                if (c.unplug) QTimer::singleShot(0, [&sim] { sim.unplug(); });
                return QByteArray(c.answer);
            };
        const QString said = readOnce(port);
        EXPECT_TRUE(said.startsWith(c.said)) << said.toStdString();
        EXPECT_EQ(sim.received, c.protocol == Protocol::MtSics ? "SI\r\n" : "\x1bP\r\n");
    }
}

TEST(BalancePort, OpenFailures) {
    test::coreApplication();
    BalancePort port;
    EXPECT_FALSE(port.open());
    EXPECT_EQ(port.errorText(), "No balance port is set; choose one in the balance settings.");
    port.setSettings({.portName = "/dev/qv-no-such-port"});
    EXPECT_EQ(readOnce(port),
              "failed: Cannot open the balance port /dev/qv-no-such-port: there is no such port. "
              "Is the balance plugged in?");
    EXPECT_TRUE(openErrorText(QSerialPort::PermissionError, "/dev/ttyUSB0", {}).contains("dialout group"));
}

}  // namespace
}  // namespace qv::balance
