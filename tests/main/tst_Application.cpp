#include "main/Application.h"
#include "main/ControlPanel.h"
#include "main/MainWindow.h"
#include "main/PortWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The start: the "COM Port" window, then the main window and the control panel.
class TestApplication : public QObject {
    Q_OBJECT

private slots:
    void portWindow()
    {
        ScriptedDialogs dialogs;
        Application program(&dialogs, settings_.filePath(QStringLiteral("dosemeter.conf")));
        program.showPortSelect();
        PortWindow *window = program.portSelect();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("COM Port"));
        auto *list = window->findChild<QComboBox *>("portChoice");
        QVERIFY(list->isEditable());
        QCOMPARE(list->currentText(), QStringLiteral("COM1"));
        QCOMPARE(list->itemText(1), QStringLiteral("COM1"));
        QCOMPARE(list->itemText(8), QStringLiteral("COM8"));
    }

    void unknownPortEndsTheProgram()
    {
        ScriptedDialogs dialogs;
        Application program(&dialogs, settings_.filePath(QStringLiteral("dosemeter.conf")));
        program.showPortSelect();
        program.portSelect()->portChoice_->setCurrentText(QStringLiteral("COM9"));
        QTest::mouseClick(program.portSelect()->okButton_, Qt::LeftButton);
        QCOMPARE(dialogs.texts(), QStringList{"No device available !"});
        QVERIFY(!program.panel()->isVisible());
    }

    void simulatorReachesTheMainWindow()
    {
        ScriptedDialogs dialogs;
        Application program(&dialogs, settings_.filePath(QStringLiteral("dosemeter.conf")));
        program.showPortSelect();
        program.portSelect()->portChoice_->setCurrentText(QStringLiteral("Simulator"));
        QTest::mouseClick(program.portSelect()->okButton_, Qt::LeftButton); // returns after 1 s
        MainWindow *panel = program.panel();
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(panel->portStatus_->text(), QStringLiteral("SIM"));
        QVERIFY(panel->controlPanel() && panel->controlPanel()->isVisible());
        QTRY_VERIFY(!program.portSelect() || !program.portSelect()->isVisible());
        QTRY_COMPARE(panel->levelUnit_->text(), QStringLiteral("dBA"));
        QVERIFY(dialogs.shown.isEmpty());
        panel->pollTimer_.stop();
    }

    // The period set with "PC Sampling time" is the one the next start samples at.
    void samplePeriodSurvivesARestart_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("ticks");
        QTest::newRow("five-seconds") << "5"
                                      << "5 Sec" << 50;
        QTest::newRow("half-a-second") << "0.5"
                                       << "0.5 Sec" << 5;
        QTest::newRow("the-longest") << "60"
                                     << "60 Sec" << 600;
    }
    void samplePeriodSurvivesARestart()
    {
        QFETCH(QString, answer);
        QFETCH(QString, shown);
        QFETCH(int, ticks);
        QTemporaryDir store;
        const QString file = store.filePath(QStringLiteral("dosemeter.conf"));
        {
            ScriptedDialogs dialogs;
            Application program(&dialogs, file);
            MainWindow *panel = startOnSimulator(program);
            QVERIFY(panel);
            QCOMPARE(panel->samplePeriodValue_->text(), QStringLiteral("2 Sec"));
            dialogs.inputs.enqueue(answer);
            QTest::mouseClick(panel->samplePeriodButton_, Qt::LeftButton);
            QCOMPARE(panel->samplePeriodValue_->text(), shown);
            panel->close();
        }
        ScriptedDialogs dialogs;
        Application program(&dialogs, file);
        MainWindow *panel = startOnSimulator(program);
        QVERIFY(panel);
        QCOMPARE(panel->samplePeriodValue_->text(), shown);
        QCOMPARE(panel->sampler().SampleTicks(), ticks);
        QCOMPARE(dialogs.texts(), QStringList{});
        panel->pollTimer_.stop();
    }

private:
    // The program started as a user starts it: "Simulator" chosen in the "COM Port" window.
    static MainWindow *startOnSimulator(Application &program)
    {
        program.showPortSelect();
        program.portSelect()->portChoice_->setCurrentText(QStringLiteral("Simulator"));
        QTest::mouseClick(program.portSelect()->okButton_, Qt::LeftButton); // returns after 1 s
        MainWindow *panel = program.panel();
        return panel && panel->isVisible() ? panel : nullptr;
    }

    // The settings of these runs, never the user's.
    QTemporaryDir settings_;
};

DOSEMETER_TEST(TestApplication)
#include "tst_Application.moc"
