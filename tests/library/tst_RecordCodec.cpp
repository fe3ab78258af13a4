// The library's stored form of a file: every file comes back byte for byte, record files in
// the column form, and damaged stored bytes are refused rather than misread.

#include "library/RecordCodec.h"
#include "support/TestMain.h"

#include <QTest>

class TestRecordCodec : public QObject {
    Q_OBJECT

private slots:
    void givesBackEveryByte_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("method");
        const int columns = int(RecordCodec::Method::Columns);
        const int compressed = int(RecordCodec::Method::Compressed);
        // clang-format off
        QTest::newRow("empty") << QByteArray() << columns;
        QTest::newRow("recording") << QByteArray("No.s\tDate\tTime\tdBA\r\n1\t2009/11/30\t10:07:02.0\t094.5\r\n"
                                                 "2\t2009/11/30\t10:07:04.0\t----\r\n") << columns;
        QTest::newRow("grid-form") << QByteArray("\"No.s\tDate\tTime\tdBA\t\"\r\n\"9\t2010/01/01\t00:00:00.0\tOL\t\"\r\n"
                                                 "\"10\t2010/01/01\t00:00:00.5\t00.0\t\"\r\n\"*****note\"\r\n") << columns;
        QTest::newRow("counts-over-nines") << QByteArray("099\r\n100\r\n101\r\na9\r\na10\r\n") << columns;
        QTest::newRow("no-final-line-end") << QByteArray("1\t2\r\n2\t3") << columns;
        QTest::newRow("lf-line-ends") << QByteArray("1\t2\n2\t3\n") << columns;
        QTest::newRow("lone-cr-and-ctrl-z") << QByteArray("a\rb\r\n\x1a") << columns;
        QTest::newRow("ragged-rows") << QByteArray("a\r\n\tb\t\tc\r\n\r\nd\te\r\n") << columns;
        QTest::newRow("field-shorter-than-above") << QByteArray("abcdef\r\nab\r\nabcdefgh\r\n") << columns;
        QTest::newRow("long-common-start") << (QByteArray(400, 'x') + "1\r\n" + QByteArray(400, 'x') + "2\r\n") << columns;
        QTest::newRow("control-bytes-in-fields") << QByteArray("\x01\x02\t\x03\r\n\x01\x02\t\xff\r\n") << columns;
        QTest::newRow("nul-byte") << QByteArray("a\0b\r\n", 5) << compressed;
        QTest::newRow("too-many-columns") << QByteArray(100, '\t') << compressed;
        // clang-format on
    }
    void givesBackEveryByte()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, method);
        const RecordCodec::Encoded encoded = RecordCodec::encode(file);
        QCOMPARE(int(encoded.method), method);
        QCOMPARE(RecordCodec::decode(int(encoded.method), encoded.bytes), file);
    }

    void refusesDamage_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<QByteArray>("stored");
        const QByteArray good = RecordCodec::encode("1\t2\r\n2\t3\r\n").bytes;
        QByteArray flipped = good;
        flipped[flipped.size() - 3] = char(flipped[flipped.size() - 3] ^ 0x55);
        // clang-format off
        QTest::newRow("unknown-method") << 9 << good;
        QTest::newRow("too-short") << 2 << QByteArray("\0\0", 2);
        QTest::newRow("huge-length") << 2 << (QByteArray("\x7f\xff\xff\xff") + good.mid(4));
        QTest::newRow("cut-short") << 2 << good.left(good.size() - 4);
        QTest::newRow("flipped-bits") << 2 << flipped;
        QTest::newRow("columns-that-are-not") << 2 << qCompress(QByteArray("\x05\x01\x01\x02x"));
        QTest::newRow("increment-of-no-number") << 2 << qCompress(QByteArray("\x02\x01\x02\x01\x01\x04\x02" "a\0\x01", 10));
        // clang-format on
    }
    void refusesDamage()
    {
        QFETCH(int, method);
        QFETCH(QByteArray, stored);
        QCOMPARE(RecordCodec::decode(method, stored), std::nullopt);
    }
};

DOSEMETER_TEST(TestRecordCodec)
#include "tst_RecordCodec.moc"
