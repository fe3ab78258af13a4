#include "link/SerialPortLink.h"
#include "support/TestMain.h"

#include <QTest>

#include <cerrno>

// Which failed opens are the user's lack of permission, and so get the advice to join the
// port's group; a port that is busy or missing keeps the plain message.
class TestPortPermission : public QObject {
    Q_OBJECT

private slots:
    void lacksPermission_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("accessErrno");
        QTest::addColumn<bool>("lacks");

        QTest::newRow("not-in-the-group") << int(QSerialPort::PermissionError) << EACCES << true;
        QTest::newRow("operation-not-permitted")
            << int(QSerialPort::PermissionError) << EPERM << true;
        // Another program holds the port (EBUSY, or its lock file): the user could open it.
        QTest::newRow("held-by-another-program") << int(QSerialPort::PermissionError) << 0 << false;
        QTest::newRow("gone-between-the-two-calls")
            << int(QSerialPort::PermissionError) << ENOENT << false;
        QTest::newRow("read-only-file-system")
            << int(QSerialPort::PermissionError) << EROFS << false;
        QTest::newRow("missing-device") << int(QSerialPort::DeviceNotFoundError) << ENOENT << false;
        QTest::newRow("no-terminal") << int(QSerialPort::UnsupportedOperationError) << 0 << false;
        QTest::newRow("other-failure-on-a-denied-path")
            << int(QSerialPort::OpenError) << EACCES << false;
    }

    void lacksPermission()
    {
        QFETCH(int, error);
        QFETCH(int, accessErrno);
        QFETCH(bool, lacks);
        QCOMPARE(SerialPortLink::lacksPermission(QSerialPort::SerialPortError(error), accessErrno),
                 lacks);
    }

    void missingDeviceIsNoPermissionMatter()
    {
        SerialPortLink link(QStringLiteral("/dev/no-such-port-here"), QString());
        QVERIFY(!link.open());
        QCOMPARE(link.deniedDevice(), QString());
    }
};

DOSEMETER_TEST(TestPortPermission)
#include "tst_PortPermission.moc"
