#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include "balance/balance_port.h"
#include "support/simulated_balance.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << text.toStdString(); }
QT_END_NAMESPACE

namespace qv::balance {
namespace {

TEST(BalanceProtocol, Answers) {
    using K = ReadingKind;
    struct Case {
        Protocol protocol;
        const char* line;
        K kind;
        double grams;
        const char* message;
    } cases[] = {
        {Protocol::MtSics, "S S      12.3456 g", K::Stable, 12.3456, ""},
        {Protocol::MtSics, "S S     -0.0021 kg  ", K::Stable, -2.1, ""},
        {Protocol::MtSics, "S D      12.34 g", K::Unstable, 12.34, "The balance has not settled yet."},
        {Protocol::MtSics, "S I", K::Busy, 0, "The balance is busy; read it again."},
        {Protocol::MtSics, "S +", K::Overload, 0, "The balance is overloaded."},
        {Protocol::MtSics, "S -", K::Underload, 0, "The balance is underloaded."},
        {Protocol::MtSics, "ES", K::Error, 0, "The balance did not understand the command (ES)."},
        {Protocol::MtSics, "ET", K::Error, 0, "The balance reports a transmission error (ET)."},
        {Protocol::MtSics, "EL", K::Error, 0, "The balance cannot carry out the command (EL)."},
        {Protocol::MtSics, "S S 12.3 ct", K::Error, 0,
         "The balance weighs in \"ct\"; set it to g, mg or kg."},
        {Protocol::MtSics, "S S 12.3x g", K::Garbage, 0,
         "The balance answered \"S S 12.3x g\", which is not a weight."},
        {Protocol::MtSics, "+   12.3456 g", K::Garbage, 0, nullptr},
        {Protocol::Line, "+   12.3456 g", K::Stable, 12.3456, ""},
        {Protocol::Line, "ST,+00012.3456  g", K::Stable, 12.3456, ""},
        {Protocol::Line, "N     -   512.5 mg", K::Stable, -0.5125, ""},
        {Protocol::Line, "     12.3456 g  ?", K::Unstable, 12.3456, "The balance has not settled yet."},
        {Protocol::Line, "US,+00012.3456  g", K::Unstable, 12.3456, nullptr},
        {Protocol::Line, "+   12.3456", K::Unstable, 12.3456, nullptr},
        {Protocol::Line, "OL,+9999999 g", K::Overload, 0, "The balance is overloaded."},
        {Protocol::Line, "ST,+0.0012 kg", K::Stable, 1.2, ""},
        {Protocol::Line, "12.3 lb", K::Error, 0, nullptr},
        {Protocol::Line, "12.3 g g", K::Garbage, 0, nullptr},
        {Protocol::Line, "#\x01\xff", K::Garbage, 0, "The balance answered \"#??\", which is not a weight."},
        {Protocol::Line, "weight", K::Garbage, 0, nullptr},
        {Protocol::Line, "12:30 g", K::Garbage, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Reading r = parseReading(c.protocol, c.line);
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_NEAR(r.grams, c.grams, 1e-12);
        if (c.message) {
            EXPECT_EQ(r.message, c.message);
        }
    }
}

struct Outcome {
    QList<QVariant> stable, notTaken, failed;
};

Outcome readOnce(BalancePort& port) {
    QSignalSpy stable(&port, &BalancePort::stableWeight);
    QSignalSpy notTaken(&port, &BalancePort::notTaken);
    QSignalSpy failed(&port, &BalancePort::failed);
    port.requestReading();
    for (int i = 0; i < 100 && stable.isEmpty() && notTaken.isEmpty() && failed.isEmpty(); ++i)
        failed.wait(100);
    EXPECT_EQ(stable.size() + notTaken.size() + failed.size(), 1);
    Outcome o;
    if (!stable.isEmpty()) o.stable = stable.takeFirst();
    if (!notTaken.isEmpty()) o.notTaken = notTaken.takeFirst();
    if (!failed.isEmpty()) o.failed = failed.takeFirst();
    return o;
}

TEST(BalancePort, ReadsASimulatedBalance) {
    test::SimulatedBalance sim;
    BalancePort port;
    PortSettings settings;
    settings.portName = sim.path;
    settings.timeoutMs = 300;
    port.setSettings(settings);

    sim.answer = [] { return QByteArray("S S      12.3456 g\r\n"); };
    Outcome o = readOnce(port);
    ASSERT_EQ(o.stable.size(), 1);
    EXPECT_DOUBLE_EQ(o.stable[0].toDouble(), 12.3456);
    EXPECT_EQ(sim.received, "SI\r\n");

    sim.answer = [] { return QByteArray("S D      12.3 g\r\n"); };
    o = readOnce(port);
    ASSERT_EQ(o.notTaken.size(), 1);
    EXPECT_EQ(o.notTaken[0].toString(), "The balance has not settled yet.");

    sim.answer = [] { return QByteArray("\x15\xfe#!\r\n"); };
    EXPECT_TRUE(readOnce(port).failed.value(0).toString().contains("which is not a weight"));

    sim.answer = nullptr;
    EXPECT_TRUE(readOnce(port).failed.value(0).toString().startsWith("The balance on " + sim.path +
                                                                     " did not answer within 0.3 s"));

    sim.answer = [] { return QByteArray("S S   12."); };
    EXPECT_TRUE(readOnce(port).failed.value(0).toString().contains("incomplete answer (\"S S   12.\")"));

    settings.protocol = Protocol::Line;
    port.setSettings(settings);
    sim.received.clear();
    sim.answer = [] { return QByteArray("ST,+00012345.6 mg\r\n"); };
    o = readOnce(port);
    ASSERT_EQ(o.stable.size(), 1);
    EXPECT_DOUBLE_EQ(o.stable[0].toDouble(), 12.3456);
    EXPECT_EQ(sim.received, "\x1bP\r\n");

    // Unplugged half-way through an answer.
    sim.answer = [&sim] {
        QTimer::singleShot(0, [&sim] { sim.unplug(); });
        return QByteArray("+   12.3");
    };
    EXPECT_EQ(readOnce(port).failed.value(0).toString(),
              "The balance on " + sim.path + " was disconnected. Check the cable and read again.");
}

TEST(BalancePort, OpenFailures) {
    test::coreApplication();
    BalancePort port;
    PortSettings settings;
    port.setSettings(settings);
    EXPECT_FALSE(port.open());
    EXPECT_EQ(port.errorText(), "No balance port is set; choose one in the balance settings.");
    settings.portName = "/dev/qv-no-such-port";
    port.setSettings(settings);
    EXPECT_EQ(readOnce(port).failed.value(0).toString(),
              "Cannot open the balance port /dev/qv-no-such-port: there is no such port. Is the balance "
              "plugged in?");
    EXPECT_TRUE(openErrorText(QSerialPort::PermissionError, "/dev/ttyUSB0", {}).contains("dialout group"));
}

}  // namespace
}  // namespace qv::balance
