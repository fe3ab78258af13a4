// The record list window on its own: its rows, notes and Save.

#include "data/FileState.h"
#include "data/RecordListWindow.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

class TestRecordListWindow : public QObject {
    Q_OBJECT

private slots:
    void savesTheRowsWithTheNotes_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::newRow("saved") << false;
        QTest::newRow("refused while recording") << true;
    }
    void savesTheRowsWithTheNotes()
    {
        QFETCH(bool, recording);
        MeterRig rig;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.dat"));
        rig.app.files.RecordingActive = recording;
        RecordListWindow list(rig.meter, rig.app.files, rig.dialogs);
        list.appendRecord({"1", "2009/11/30", "10:00:00.3", "94.5"});
        list.appendRecord({"2", "2009/11/30", "10:00:02.3", " OL "});
        // Commas and TABs typed into a note are dropped.
        QTest::keyClicks(list.findChild<QLineEdit *>("note1"), QStringLiteral("Press 4, line\t2"));
        QTest::keyClicks(list.findChild<QLineEdit *>("note3"), QStringLiteral("night"));
        QCOMPARE(list.notes(), QStringList({"Press 4 line2", "", "night"}));
        QVERIFY(list.hasUnsavedRows());

        auto *save = list.findChild<QAction *>("Save");
        QCOMPARE(save->isEnabled(), !recording);
        rig.dialogs.fileNames.enqueue(path);
        list.runToolbarCommand(QStringLiteral("Save"));
        if (recording) {
            QVERIFY(rig.dialogs.shown.isEmpty());
            QVERIFY(!QFile::exists(path));
            QVERIFY(list.hasUnsavedRows());
            return;
        }
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QCOMPARE(rig.dialogs.shown.first().kind, QStringLiteral("save"));
        QVERIFY(!list.hasUnsavedRows());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\"No.s\tDate\tTime\tdBA\t\"\r\n"
                                            "\"1\t2009/11/30\t10:00:00.3\t94.5\t\"\r\n"
                                            "\"2\t2009/11/30\t10:00:02.3\t OL \t\"\r\n"
                                            "\"*****Press 4 line2\"\r\n"
                                            "\"*****\"\r\n"
                                            "\"*****night\"\r\n"));
    }

    // Closing the list with rows not saved asks first (-1: no answer given, Enter).
    void closingOffersToSave_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes-saves") << false << int(Dialogs::Answer::Yes) << true << true;
        QTest::newRow("no-drops") << false << int(Dialogs::Answer::No) << true << false;
        QTest::newRow("cancel-stays") << false << int(Dialogs::Answer::Cancel) << false << false;
        QTest::newRow("recording-ok-drops") << true << int(Dialogs::Answer::Ok) << true << false;
        QTest::newRow("recording-enter-stays") << true << -1 << false << false;
    }
    void closingOffersToSave()
    {
        QFETCH(bool, recording);
        QFETCH(int, answer);
        MeterRig rig;
        QTemporaryDir dir;
        rig.app.files.RecordingActive = recording;
        RecordListWindow list(rig.meter, rig.app.files, rig.dialogs);
        list.show();
        list.appendRecord({"1", "2009/11/30", "10:00:00.3", "94.5"});
        if (answer >= 0)
            rig.dialogs.answers.enqueue(Dialogs::Answer(answer));
        rig.dialogs.fileNames.enqueue(dir.filePath(QStringLiteral("list.dat")));
        list.close();
        QVERIFY(!rig.dialogs.shown.isEmpty());
        QTEST(!list.isVisible(), "closed");
        QTEST(QFile::exists(dir.filePath(QStringLiteral("list.dat"))), "saved");
    }

    void closedWhileItsDialogIsOpen()
    {
        MeterRig rig;
        QPointer<RecordListWindow> list =
            new RecordListWindow(rig.meter, rig.app.files, rig.dialogs);
        list->setAttribute(Qt::WA_DeleteOnClose);
        list->show();
        list->appendRecord({"1", "2009/11/30", "10:00:00.3", "94.5"});
        // The sampler closes the list while the print dialog is open, and the event loop
        // of the dialog runs the deferred deletes.
        rig.dialogs.preparePrinter = [&list](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QDir::temp().filePath(QStringLiteral("list-closed.pdf")));
            list->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(list);
            QVERIFY(list->isHidden());
        };
        rig.dialogs.inputs.enqueue(QStringLiteral("1"));
        list->runToolbarCommand(QStringLiteral("Print"));
        QVERIFY(list);
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY(list.isNull());
        QFile::remove(QDir::temp().filePath(QStringLiteral("list-closed.pdf")));
    }
};

DOSEMETER_TEST(TestRecordListWindow)
#include "tst_RecordListWindow.moc"
