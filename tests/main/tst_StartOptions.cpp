#include "main/StartOptions.h"
#include "support/TestMain.h"

#include <QTest>

// The desktop program's command line, read before and after Qt takes its own options.
class TestStartOptions : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("port"); // "(none)": the port window asks
        QTest::addColumn<QStringList>("open");

        const int run = int(StartOptions::Action::Run);
        const int help = int(StartOptions::Action::Help);
        const int version = int(StartOptions::Action::Version);
        const int error = int(StartOptions::Action::Error);
        QTest::newRow("nothing") << QStringList{} << run << "(none)" << QStringList{};
        QTest::newRow("port") << QStringList{"--port", "sim"} << run << "sim" << QStringList{};
        QTest::newRow("empty-port-is-a-port")
            << QStringList{"--port", ""} << run << "" << QStringList{};
        QTest::newRow("open-entries") << QStringList{"--port", "sim", "--open", "Graph,,Analog"}
                                      << run << "sim" << QStringList{"Graph", "Analog"};
        QTest::newRow("help") << QStringList{"--help"} << help << "(none)" << QStringList{};
        QTest::newRow("help-short") << QStringList{"-h"} << help << "(none)" << QStringList{};
        QTest::newRow("version") << QStringList{"--version"} << version << "(none)"
                                 << QStringList{};
        QTest::newRow("version-short") << QStringList{"-v"} << version << "(none)" << QStringList{};
        QTest::newRow("help-wins-over-version")
            << QStringList{"--version", "--help"} << help << "(none)" << QStringList{};
        // Before the GUI application exists, Qt's own options are still on the line.
        QTest::newRow("version-beside-qt-option")
            << QStringList{"-platform", "offscreen", "--version"} << version << "(none)"
            << QStringList{};
        QTest::newRow("unknown-option")
            << QStringList{"--colour"} << error << "(none)" << QStringList{};
        QTest::newRow("port-without-value")
            << QStringList{"--port"} << error << "(none)" << QStringList{};
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, port);
        QFETCH(QStringList, open);
        const StartOptions options =
            StartOptions::parse(QStringList{QStringLiteral("dosemeter")} + arguments);
        QCOMPARE(int(options.action), action);
        QCOMPARE(options.port.value_or(QStringLiteral("(none)")), port);
        QCOMPARE(options.open, open);
        QCOMPARE(options.errorText.isEmpty(), action != int(StartOptions::Action::Error));
    }
};

DOSEMETER_TEST(TestStartOptions)
#include "tst_StartOptions.moc"
