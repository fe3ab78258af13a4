#include "link/PortNames.h"
#include "support/TestMain.h"

#include <QTest>

class TestPortNames : public QObject {
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("label");
        using K = PortChoice::Kind;

        QTest::newRow("auto-means-port-1") << "Auto" << int(K::Auto) << 1 << "/dev/ttyS0"
                                           << "COM1";
        QTest::newRow("com1") << "COM1" << int(K::Com) << 1 << "/dev/ttyS0"
                              << "COM1";
        QTest::newRow("com2") << "COM2" << int(K::Com) << 2 << "/dev/ttyS1"
                              << "COM2";
        QTest::newRow("com8") << "COM8" << int(K::Com) << 8 << "/dev/ttyS7"
                              << "COM8";
        QTest::newRow("com9-not-in-list") << "COM9" << int(K::Invalid) << 0 << ""
                                          << "No COM";
        QTest::newRow("lower-case") << "com1" << int(K::Invalid) << 0 << ""
                                    << "No COM";
        QTest::newRow("empty") << "" << int(K::Invalid) << 0 << ""
                               << "No COM";
        QTest::newRow("usb-adapter") << "/dev/ttyUSB0" << int(K::Device) << 0 << "/dev/ttyUSB0"
                                     << "ttyUSB0";
        QTest::newRow("pty") << "/dev/pts/7" << int(K::Device) << 0 << "/dev/pts/7"
                             << "pts/7";
        QTest::newRow("simulator") << "Simulator" << int(K::Simulator) << 0 << ""
                                   << "SIM";
        QTest::newRow("sim") << "sim" << int(K::Simulator) << 0 << ""
                             << "SIM";
    }
    void choice()
    {
        QFETCH(QString, text);
        const PortChoice c = choosePort(text);
        QTEST(int(c.kind), "kind");
        QTEST(c.comNumber, "number");
        QTEST(c.systemPath, "path");
        QTEST(portLabelFor(c), "label");
    }

    void listOrder()
    {
        const QStringList entries = portListEntries();
        QVERIFY(entries.size() >= 10);
        QCOMPARE(entries.mid(0, 10), QStringList({"Auto", "COM1", "COM2", "COM3", "COM4", "COM5",
                                                  "COM6", "COM7", "COM8", "Simulator"}));
    }
};

DOSEMETER_TEST(TestPortNames)
#include "tst_PortNames.moc"
