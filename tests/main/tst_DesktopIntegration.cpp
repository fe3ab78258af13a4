// The desktop program as a desktop expects it: settings kept between runs, files given on
// the command line, the Help menu and the usual keys.

#include "main/Application.h"
#include "main/MainWindow.h"
#include "main/PortWindow.h"
#include "main/StartOptions.h"
#include "support/MeterRig.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"
#include "ui/StoredSettings.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

class TestDesktopIntegration : public QObject {
    Q_OBJECT

private slots:
    void startOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("error");
        QTest::newRow("nothing") << QStringList{} << QStringList{} << "" << false;
        QTest::newRow("two-files") << QStringList{"a.bnk", "/tmp/b.dat"}
                                   << QStringList{"a.bnk", "/tmp/b.dat"} << "" << false;
        QTest::newRow("portuguese-and-a-file")
            << QStringList{"--lang", "pt_BR", "x.avg"} << QStringList{"x.avg"} << "pt_BR" << false;
        QTest::newRow("english") << QStringList{"--lang=en"} << QStringList{} << "en" << false;
        QTest::newRow("unknown-language")
            << QStringList{"--lang", "de"} << QStringList{} << "" << true;
    }
    void startOptions()
    {
        QFETCH(QStringList, arguments);
        const StartOptions options =
            StartOptions::parse(QStringList{QStringLiteral("dosemeter")} + arguments);
        QTEST(options.action == StartOptions::Action::Error, "error");
        if (options.action == StartOptions::Action::Error)
            return;
        QTEST(options.files, "files");
        QTEST(options.language.value_or(QString()), "language");
    }

    void lastPortOfferedFirst()
    {
        QTemporaryDir dir;
        const QString settingsFile = dir.filePath(QStringLiteral("dosemeter.conf"));
        {
            ScriptedDialogs dialogs;
            Application program(&dialogs, settingsFile);
            program.showPortSelect();
            program.portSelect()->portChoice_->setCurrentText(QStringLiteral("Simulator"));
            QTest::mouseClick(program.portSelect()->okButton_, Qt::LeftButton);
            QVERIFY(program.panel() && program.panel()->isVisible());
            program.panel()->pollTimer_.stop();
        }
        ScriptedDialogs dialogs;
        Application program(&dialogs, settingsFile);
        program.showPortSelect();
        const QComboBox *list = program.portSelect()->portChoice_;
        QCOMPARE(list->currentText(), QStringLiteral("Simulator"));
        QCOMPARE(list->itemText(0), QStringLiteral("Simulator"));
        QCOMPARE(list->findText(QStringLiteral("Simulator")), 0); // offered once
        QCOMPARE(list->itemText(1), QStringLiteral("Auto"));
    }

    void samplePeriodKept()
    {
        QTemporaryDir dir;
        StoredSettings settings(dir.filePath(QStringLiteral("dosemeter.conf")));
        settings.setSampleTicks(50);
        MainWindowRig rig;
        rig.panel.useSettings(&settings);
        QCOMPARE(rig.panel.samplePeriodValue_->text(), QStringLiteral("5 Sec"));
        rig.load();
        rig.dialogs.inputs << QStringLiteral("0.5");
        rig.panel.samplePeriodButton_->click();
        QCOMPARE(settings.sampleTicks(), 5);
    }

    void windowComesBackOnTheScreen()
    {
        QTemporaryDir dir;
        StoredSettings settings(dir.filePath(QStringLiteral("dosemeter.conf")));
        // Kept on a second screen, to the right, that is gone now.
        settings.setWindowGeometry(QStringLiteral("StandardsWindow"), QRect(9000, 40, 300, 200));
        MainWindowRig rig;
        rig.panel.useSettings(&settings);
        rig.load();
        rig.panel.standardsAction_->trigger();
        QWidget *window = rig.panel.windows().window(QStringLiteral("StandardsWindow"));
        QVERIFY(window);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(screen.contains(window->geometry().topLeft()),
                 qPrintable(QStringLiteral("at %1,%2")
                                .arg(window->geometry().x())
                                .arg(window->geometry().y())));
        window->move(screen.topLeft() + QPoint(30, 60));
        const QRect moved = window->geometry();
        window->close();
        QCOMPARE(settings.windowGeometry(QStringLiteral("StandardsWindow")), moved);
    }

    void fileOpensInItsWindow_data()
    {
        QTest::addColumn<QString>("golden");
        QTest::addColumn<QString>("nameGiven");
        QTest::addColumn<QString>("window");
        QTest::newRow("banks") << "banks-menu.bnk"
                               << "banks-menu.bnk"
                               << "BankWindow";
        QTest::newRow("average") << "average.avg"
                                 << "average.avg"
                                 << "AverageWindow";
        QTest::newRow("data") << "levels.dat"
                              << "levels.dat"
                              << "SavedFileWindow";
        QTest::newRow("banks-without-extension") << "banks-menu.bnk"
                                                 << "banks"
                                                 << "BankWindow";
        QTest::newRow("average-without-extension") << "average.avg"
                                                   << "avg"
                                                   << "AverageWindow";
    }
    void fileOpensInItsWindow()
    {
        QFETCH(QString, golden);
        QFETCH(QString, nameGiven);
        QFETCH(QString, window);
        QTemporaryDir dir;
        const QString path = dir.filePath(nameGiven);
        QVERIFY(QFile::copy(testsupport::golden(golden), path));
        MainWindowRig rig;
        rig.load();
        rig.panel.openFile(path);
        QVERIFY(rig.panel.windows().window(window));
        QCOMPARE(rig.dialogs.texts(), QStringList());
    }

    void missingFileSaysSo()
    {
        MainWindowRig rig;
        rig.load();
        rig.panel.openFile(QStringLiteral("/nonexistent/shift.bnk"));
        QCOMPARE(rig.dialogs.texts().size(), 1);
        QVERIFY(rig.dialogs.texts().first().startsWith(
            QStringLiteral("/nonexistent/shift.bnk cannot be opened: ")));
    }

    void unreadableAverageFileSaysWhyOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("broken.avg"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not an averaging file\r\n");
        file.close();
        MainWindowRig rig;
        rig.load();
        rig.panel.openFile(path);
        QCOMPARE(rig.dialogs.texts().size(), 1);
        QVERIFY(!rig.dialogs.texts().first().contains(QStringLiteral("run goes on")));
    }

    void menusShortcutsAndAbout()
    {
        MainWindowRig rig;
        QStringList captions;
        for (const QAction *menu : rig.panel.menuBar()->actions())
            captions << menu->text().remove(QLatin1Char('&'));
        QCOMPARE(captions, (QStringList{"File", "Display", "Option", "Library", "Help"}));
        QCOMPARE(rig.panel.openAction_->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
        QCOMPARE(rig.panel.exitAction_->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
        QCOMPARE(rig.panel.userGuideAction_->shortcut(), QKeySequence(QStringLiteral("F1")));
        rig.panel.aboutAction_->trigger();
        const QString about = rig.dialogs.texts().value(0);
        QVERIFY(about.startsWith(QStringLiteral("Dose Meter ")));
        QVERIFY(about.contains(QStringLiteral("GNU General Public License, version 3 or later")));
        QVERIFY(about.contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())));
        QVERIFY(about.contains(QStringLiteral("QCustomPlot 2.1.0")));
    }

    void userGuideFound_data()
    {
        QTest::addColumn<QStringList>("made");
        QTest::addColumn<QString>("expected");
        QTest::newRow("readme-in-second") << QStringList{"a/", "b/README.md"} << "b/README.md";
        QTest::newRow("readme-before-docs")
            << QStringList{"a/README.md", "a/docs/"} << "a/README.md";
        QTest::newRow("docs-folder-only") << QStringList{"b/docs/"} << "b/docs";
        QTest::newRow("nothing") << QStringList{"a/"} << "";
    }
    void userGuideFound()
    {
        QFETCH(QStringList, made);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString &entry : made) {
            if (entry.endsWith(QLatin1Char('/'))) {
                QVERIFY(QDir(dir.path()).mkpath(entry));
            } else {
                QVERIFY(QDir(dir.path()).mkpath(QFileInfo(entry).path()));
                QFile file(dir.filePath(entry));
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
        }
        const QString found =
            MainWindow::userGuidePath({dir.filePath(QStringLiteral("a")), dir.filePath("b")});
        QCOMPARE(found, expected.isEmpty() ? QString() : dir.filePath(expected));
    }
};

DOSEMETER_TEST(TestDesktopIntegration)
#include "tst_DesktopIntegration.moc"
