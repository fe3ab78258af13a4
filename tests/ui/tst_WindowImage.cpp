#include "support/TestMain.h"
#include "ui/WindowImage.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

namespace {

// The text pdftotext finds in a PDF.
QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestWindowImage : public QObject {
    Q_OBJECT

private slots:
    // The window's image keeps its text: a PDF of it can be searched.
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
        QCOMPARE(WindowImage::exportPdf(&window, path), QString());
        const QString text = pdfText(path);
        QVERIFY2(text.contains(QStringLiteral("Criterion level 85dB")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Dose Value(%) 12.34")));
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
        QCOMPARE(WindowImage::exportPdf(&window, path), QString());
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QVERIFY(earlier.readAll().startsWith("%PDF"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void exportToAMissingFolderSaysWhy()
    {
        QWidget window;
        window.resize(100, 50);
        QCOMPARE(
            WindowImage::exportPdf(&window, QStringLiteral("/nonexistent/dir/x.pdf")).isEmpty(),
            false);
    }
};

DOSEMETER_TEST(TestWindowImage)
#include "tst_WindowImage.moc"
