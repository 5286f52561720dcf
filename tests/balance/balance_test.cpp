#include <gtest/gtest.h>

#include <QSignalSpy>

#include "balance/balance_port.h"
#include "support/simulated_balance.h"

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
        if (!message) continue;
        EXPECT_EQ(r.message, message);
    }
}

// What one reading gives: "<grams> g", "not taken: <why>" or "failed: <why>".
std::string readOnce(BalancePort& port) {
    QSignalSpy stable(&port, &BalancePort::stableWeight), notTaken(&port, &BalancePort::notTaken),
        failed(&port, &BalancePort::failed);
    port.requestReading();
    for (int i = 0; i < 100 && stable.isEmpty() && notTaken.isEmpty() && failed.isEmpty(); ++i)
        failed.wait(100);
    EXPECT_EQ(stable.size() + notTaken.size() + failed.size(), 1);
    if (!stable.isEmpty()) return QString::number(stable[0][0].toDouble()).toStdString() + " g";
    return (notTaken.isEmpty() ? "failed: " + failed.value(0).value(0).toString()
                               : "not taken: " + notTaken[0][0].toString())
        .toStdString();
}

TEST(BalancePort, OpenFailuresThenReadsASimulatedBalance) {
    test::coreApplication();
    BalancePort port;
    EXPECT_FALSE(port.open());
    EXPECT_EQ(port.errorText().toStdString(), "No balance port is set; choose one in the balance settings.");
    port.setSettings({.portName = "/dev/qv-no-such-port"});
    EXPECT_EQ(readOnce(port),
              "failed: Cannot open the balance port /dev/qv-no-such-port: there is no such port. "
              "Is the balance plugged in?");
    EXPECT_TRUE(openErrorText(QSerialPort::PermissionError, "/dev/ttyUSB0", {}).contains("dialout group"));

    test::SimulatedBalance sim;
    PortSettings settings{.portName = sim.path, .timeoutMs = 300};
    const std::string on = "failed: The balance on " + sim.path.toStdString();
    constexpr Protocol S = Protocol::MtSics, L = Protocol::Line;
    // The protocol, the balance's answer (null: none), what the reading gives (its start), and
    // whether the balance is unplugged half-way through its answer.
    const std::tuple<Protocol, const char*, std::string, bool> cases[] = {
        {S, "S S      12.3456 g\r\n", "12.3456 g", false},
        {S, "S D      12.3 g\r\n", "not taken: The balance has not settled yet.", false},
        {S, "\x15\xfe#!\r\n", "failed: The balance answered \"??#!\", which is not a weight.", false},
        {S, nullptr, on + " did not answer within 0.3 s. Check that it is on", false},
        {S, "S S   12.", on + " sent an incomplete answer (\"S S   12.\")", false},
        {L, "+   12.3", on + " was disconnected. Check the cable and read again.", true},
    };
    for (const auto& [protocol, answer, says, unplug] : cases) {
        SCOPED_TRACE(says);
        settings.protocol = protocol;
        port.setSettings(settings);
        sim.received.clear();
        sim.answer = !answer ? nullptr : std::function<QByteArray()>([&] {
            if (unplug) QTimer::singleShot(0, [&sim] { sim.unplug(); });
            return QByteArray(answer);
        });
        EXPECT_EQ(readOnce(port).substr(0, says.size()), says);
        EXPECT_EQ(sim.received, protocol == S ? "SI\r\n" : "\x1bP\r\n");
    }
}

}  // namespace
}  // namespace qv::balance
