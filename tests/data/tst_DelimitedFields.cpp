#include "data/DelimitedFields.h"
#include "support/TestMain.h"

#include <QTest>

class TestDelimitedFields : public QObject {
    Q_OBJECT

private slots:
    // Each field as "line:begin:text", "!" after an unclosed quote's text.
    void fields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("options");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("tooLongLine");
        const int none = DelimitedFields::NoOptions;
        const int tabs = DelimitedFields::SkipBlankTabs;
        const int blanks = DelimitedFields::BlankLineFields;
        const int bank = tabs | blanks;
        // clang-format off
        QTest::newRow("empty") << QByteArray() << none << QStringList() << 0;
        QTest::newRow("comma-and-line-end-split")
            << QByteArray("a,bc\r\nd") << none << QStringList({"1:0:a", "1:2:bc", "2:6:d"}) << 0;
        QTest::newRow("leading-spaces-skipped")
            << QByteArray("  a,  b  ") << none << QStringList({"1:2:a", "1:6:b  "}) << 0;
        QTest::newRow("tab-kept")
            << QByteArray("\t a\tb") << none << QStringList({"1:0:\t a\tb"}) << 0;
        QTest::newRow("tab-skipped")
            << QByteArray("\t a\tb") << tabs << QStringList({"1:2:a\tb"}) << 0;
        QTest::newRow("quoted-comma-and-tab-stay")
            << QByteArray(" \"a,\tb\",c") << none << QStringList({"1:1:a,\tb", "1:8:c"}) << 0;
        QTest::newRow("text-after-closing-quote-dropped")
            << QByteArray("\"a\"x\"y,b") << none << QStringList({"1:0:a", "1:7:b"}) << 0;
        QTest::newRow("unclosed-quote-ends-with-its-line")
            << QByteArray("\"a,b\r\n\"c") << none << QStringList({"1:0:a,b!", "2:6:c!"}) << 0;
        QTest::newRow("crlf-lone-cr-and-lf-line-ends")
            << QByteArray("a\rb\nc\r\nd") << none << QStringList({"1:0:a", "2:2:b", "3:4:c", "4:7:d"}) << 0;
        QTest::newRow("lf-cr-is-two-line-ends")
            << QByteArray("a\n\rb") << none << QStringList({"1:0:a", "3:3:b"}) << 0;
        QTest::newRow("blank-lines-passed-over")
            << QByteArray("a\r\n \r\n\nb,\r\n") << none << QStringList({"1:0:a", "4:7:b"}) << 0;
        QTest::newRow("blank-lines-give-empty-fields")
            << QByteArray("a\r\n \r\n\nb,\r\n") << blanks
            << QStringList({"1:0:a", "2:4:", "3:6:", "4:7:b", "4:9:"}) << 0;
        QTest::newRow("blank-last-line-passed-over")
            << QByteArray("a\r\n\t ") << tabs << QStringList({"1:0:a"}) << 0;
        QTest::newRow("blank-last-line-gives-an-empty-field")
            << QByteArray("a\r\n\t ") << bank << QStringList({"1:0:a", "2:5:"}) << 0;
        QTest::newRow("end-of-file-mark-dropped")
            << QByteArray("a\r\nb\x1A") << none << QStringList({"1:0:a", "2:3:b"}) << 0;
        // The line ends and delimiters are found eight bytes at a time: across a word, and
        // never in a byte above 127.
        QTest::newRow("search-across-words-and-high-bytes")
            << QByteArray("ab\xac\x8d\xa2,cdefgh\xe9\r\ni") << none
            << QStringList({QString::fromLatin1("1:0:ab\xac\x8d\xa2"),
                            QString::fromLatin1("1:6:cdefgh\xe9"), "2:15:i"})
            << 0;
        QTest::newRow("field-at-the-limit")
            << QByteArray("12345678,\"12345678\"") << none << QStringList({"1:0:12345678", "1:9:12345678"}) << 0;
        QTest::newRow("over-long-field-stops")
            << QByteArray("ab\r\n123456789\r\nc") << none << QStringList({"1:0:ab"}) << 2;
        QTest::newRow("over-long-unclosed-field-stops")
            << QByteArray("\r\n\n\"123456789") << none << QStringList() << 3;
        // clang-format on
    }
    void fields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, options);
        DelimitedFields reader(bytes, 8, DelimitedFields::Options(options));
        QStringList fields;
        DelimitedFields::Field field;
        while (reader.next(field))
            fields << QStringLiteral("%1:%2:%3%4")
                          .arg(field.line)
                          .arg(field.begin)
                          .arg(QString::fromLatin1(field.text))
                          .arg(field.unclosedQuote ? QStringLiteral("!") : QString());
        QTEST(fields, "fields");
        QTEST(reader.tooLongLine(), "tooLongLine");
        QVERIFY(!reader.next(field));
    }
};

DOSEMETER_TEST(TestDelimitedFields)
#include "tst_DelimitedFields.moc"
