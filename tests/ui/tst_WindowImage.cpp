#include "support/TestMain.h"
#include "ui/WindowImage.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <sys/stat.h>

namespace {

// The text pdftotext finds in a PDF.
QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The image of `window` exported as a PDF under a plain header.
QString exportWindow(QWidget &window, const QString &path)
{
    return WindowImage::exportPdf(WindowImage::picture(&window),
                                  WindowImage::titleHeader(QStringLiteral("Window")), path);
}

} // namespace

class TestWindowImage : public QObject {
    Q_OBJECT

private slots:
    // The window's image keeps its text: a PDF of it can be searched. The page names
    // the file, the meter and the settings above the image, and numbers itself.
    void pdfKeepsTheText()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(new QLabel(QStringLiteral("Criterion level 85dB")));
        layout->addWidget(new QLabel(QStringLiteral("Dose Value(%) 12.34")));
        window.resize(400, 120);
        window.show();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("window.pdf"));
        const ReportPage::Header header = ReportPage::measurementHeader(
            QStringLiteral("Plot"), QStringLiteral("shift.dat"), QString(),
            QStringLiteral("records 1 to 500, 68 to 140 dB"));
        QCOMPARE(WindowImage::exportPdf(WindowImage::picture(&window), header, path), QString());
        const QString text = pdfText(path).simplified();
        for (const char *expected :
             {"Criterion level 85dB", "Dose Value(%) 12.34", "Plot", "shift.dat", "Meter ID",
              "not recorded in the file", "records 1 to 500, 68 to 140 dB", "Date printed",
              "Page 1 of 1"})
            QVERIFY2(text.contains(QLatin1String(expected)),
                     qPrintable(expected + (" in " + text)));
    }

    // The control with the keyboard draws no caret or focus frame into the image, and
    // keeps the keyboard.
    void imageLeavesOutTheCaret()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *edit = new QLineEdit(QStringLiteral("Metalurgica"));
        layout->addWidget(edit);
        window.resize(200, 60);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto drawn = [&window](const QPicture &picture) {
            QImage image(window.size(), QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.drawPicture(0, 0, picture);
            return image;
        };
        const QImage unfocused = drawn(WindowImage::picture(&window));
        window.activateWindow();
        edit->setFocus();
        QVERIFY(QTest::qWaitFor([edit] { return edit->hasFocus(); }));
        QCOMPARE(drawn(WindowImage::picture(&window)), unfocused);
        QVERIFY(edit->hasFocus());
    }

    void exportReplacesAnEarlierFile()
    {
        QWidget window;
        window.resize(100, 50);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("window.pdf"));
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
        earlier.close();
        QCOMPARE(exportWindow(window, path), QString());
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QVERIFY(earlier.readAll().startsWith("%PDF"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void exportToAMissingFolderSaysWhy()
    {
        QWidget window;
        window.resize(100, 50);
        QCOMPARE(exportWindow(window, QStringLiteral("/nonexistent/dir/x.pdf")).isEmpty(), false);
    }

    void exportPermissions_data()
    {
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("earlierMode"); // 0: no earlier file
        QTest::addColumn<QString>("mode");
        QTest::newRow("new-under-022") << 0022 << 0 << "644";
        QTest::newRow("new-under-002") << 0002 << 0 << "664";
        QTest::newRow("new-under-077") << 0077 << 0 << "600";
        QTest::newRow("replaced-keeps-its-mode") << 0022 << 0640 << "640";
    }

    // An export is readable as any new file is, not private as a temporary file.
    void exportPermissions()
    {
        QFETCH(int, umask);
        QFETCH(int, earlierMode);
        QFETCH(QString, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("window.pdf"));
        if (earlierMode != 0) {
            QFile earlier(path);
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.close();
            QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(earlierMode)) == 0);
        }
        QWidget window;
        window.resize(100, 50);
        const mode_t previous = ::umask(mode_t(umask));
        const QString error = exportWindow(window, path);
        ::umask(previous);
        QCOMPARE(error, QString());
        struct stat status {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &status) == 0);
        QCOMPARE(QString::number(status.st_mode & 0777, 8), mode);
    }
};

DOSEMETER_TEST(TestWindowImage)
#include "tst_WindowImage.moc"
