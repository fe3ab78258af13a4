#include "link/SerialPortLink.h"
#include "support/TestMain.h"

#include <QTest>

#include <cerrno>

// Which failed opens get the advice to join the port's group. Root, as CI runs, is never
// refused for permission, so the decision is tested from the codes it is made of.
class TestPortPermission : public QObject {
    Q_OBJECT

private slots:
    void lacksPermission_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("accessErrno");
        QTest::addColumn<bool>("lacks");
        const int permission = QSerialPort::PermissionError;
        QTest::newRow("not-in-the-group") << permission << EACCES << true;
        // Another program holds the port (EBUSY, or its lock file): this user could open it.
        QTest::newRow("held-by-another-program") << permission << 0 << false;
        QTest::newRow("missing") << int(QSerialPort::DeviceNotFoundError) << ENOENT << false;
        QTest::newRow("other-failure") << int(QSerialPort::OpenError) << EACCES << false;
    }

    void lacksPermission()
    {
        QFETCH(int, error);
        QFETCH(int, accessErrno);
        QFETCH(bool, lacks);
        QCOMPARE(SerialPortLink::lacksPermission(QSerialPort::SerialPortError(error), accessErrno),
                 lacks);
    }
};

DOSEMETER_TEST(TestPortPermission)
#include "tst_PortPermission.moc"
