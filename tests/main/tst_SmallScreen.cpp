// The windows on a laptop's screen: 1366x768 less a 40-px panel and a 32-px title bar leave
// 1366x696 for a window. Run by the tst_main_laptop test, whose offscreen screen is that
// size (laptop-screen.json); skipped on any other screen.

#include "main/Application.h"
#include "main/ControlPanel.h"
#include "main/PortWindow.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"
#include "ui/StoredSettings.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

class TestSmallScreen : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QGuiApplication::primaryScreen()->availableGeometry() != QRect(0, 0, 1366, 696))
            QSKIP("needs the laptop screen of tst_main_laptop");
    }

    void windowFitsWhole_data()
    {
        // The main window's command, then the opened window's ("Window.Control").
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("window");
        QTest::newRow("assessment") << "viewFileAction SavedFileWindow.Assessment"
                                    << "AssessmentWindow";
        QTest::newRow("saved-file") << "viewFileAction"
                                    << "SavedFileWindow";
        QTest::newRow("plot") << "viewFileAction SavedFileWindow.Plot"
                              << "PlotWindow";
        QTest::newRow("library") << "measurementsAction"
                                 << "LibraryWindow";
        QTest::newRow("average") << "averageButton"
                                 << "AverageWindow";
        QTest::newRow("event") << "eventButton"
                               << "BankWindow";
    }
    void windowFitsWhole()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, window);
        MainWindowRig rig;
        rig.panel.show();
        rig.load();
        rig.tick(90.0);
        rig.dialogs.fileNames.enqueue(testsupport::golden(QStringLiteral("recording-form.dat")));
        for (const QString &step : trigger.split(QLatin1Char(' '))) {
            QObject *scope = &rig.panel;
            QString name = step;
            if (step.contains(QLatin1Char('.'))) {
                scope = rig.panel.windows().window(step.section(QLatin1Char('.'), 0, 0));
                name = step.section(QLatin1Char('.'), 1);
            }
            QVERIFY2(scope, qPrintable(step));
            if (auto *action = scope->findChild<QAction *>(name))
                action->trigger();
            else if (auto *button = scope->findChild<QAbstractButton *>(name))
                button->click();
            else
                QFAIL(qPrintable(step));
        }
        QWidget *opened = rig.panel.windows().window(window);
        QVERIFY(opened);
        QVERIFY(QTest::qWaitForWindowExposed(opened));
        // DOSEMETER_SCREENSHOTS=DIR keeps a picture of the window as it opened, to look at.
        if (qEnvironmentVariableIsSet("DOSEMETER_SCREENSHOTS"))
            opened->grab().save(qEnvironmentVariable("DOSEMETER_SCREENSHOTS") +
                                QStringLiteral("/laptop-") + window + QStringLiteral(".png"));
        const QRect screen(0, 0, 1366, 696);
        QVERIFY2(screen.contains(opened->frameGeometry()),
                 qPrintable(QStringLiteral("%1x%2 at %3,%4")
                                .arg(opened->width())
                                .arg(opened->height())
                                .arg(opened->x())
                                .arg(opened->y())));
        // No button falls off the window's edge.
        QStringList cut;
        for (const QAbstractButton *button : opened->findChildren<QAbstractButton *>()) {
            if (!button->isVisibleTo(opened))
                continue;
            const QRect where(button->mapTo(opened, QPoint(0, 0)), button->size());
            if (!opened->rect().contains(where))
                cut << button->objectName();
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char(' '))));
    }

    // `dosemeter FILE`: the control panel takes its place beside the main window first,
    // and the file's window opens after it, so that the panel never lands on the file.
    void fileGivenOpensAfterTheControlPanel()
    {
        QTemporaryDir settings;
        ScriptedDialogs dialogs;
        Application program(&dialogs, settings.filePath(QStringLiteral("dosemeter.conf")));
        program.openAtStart({testsupport::golden(QStringLiteral("recording-form.dat"))});
        program.showPortSelect();
        program.portSelect()->portChoice_->setCurrentText(QStringLiteral("Simulator"));
        QTest::mouseClick(program.portSelect()->okButton_, Qt::LeftButton); // returns after 1 s
        MainWindow *panel = program.panel();
        QVERIFY(panel && panel->isVisible());
        QWidget *controls = panel->controlPanel();
        QWidget *file = panel->windows().window(QStringLiteral("SavedFileWindow"));
        QVERIFY(controls && controls->isVisible());
        QVERIFY(file && file->isVisible());
        QCOMPARE(controls->frameGeometry().topLeft(),
                 QPoint(panel->frameGeometry().x() + panel->frameGeometry().width(), 0));
        QVERIFY(file->pos() != controls->pos());
        QVERIFY(QRect(0, 0, 1366, 696).contains(file->frameGeometry()));
        panel->pollTimer_.stop();
    }

    // A place kept while the main window was narrower (the program ran in English, the
    // Portuguese main window is wider) does not put the window over the main window: it
    // opens where the rule puts it.
    void keptPlaceOverTheMainWindowIsLeft()
    {
        QTemporaryDir dir;
        StoredSettings settings(dir.filePath(QStringLiteral("dosemeter.conf")));
        MainWindowRig rig;
        rig.panel.useSettings(&settings);
        rig.load();
        rig.panel.show();
        const QRect main = rig.panel.frameGeometry();
        settings.setWindowGeometry(QStringLiteral("SetupWindow"),
                                   QRect(main.width() - 40, 0, 480, 320));
        rig.panel.setModeAction_->trigger();
        QWidget *window = rig.panel.windows().window(QStringLiteral("SetupWindow"));
        QVERIFY(window);
        QVERIFY2(!window->frameGeometry().intersects(main),
                 qPrintable(QStringLiteral("at %1,%2").arg(window->x()).arg(window->y())));
        QCOMPARE(window->frameGeometry().topLeft(), QPoint(main.x() + main.width(), main.y()));
    }
};

DOSEMETER_TEST(TestSmallScreen)
#include "tst_SmallScreen.moc"
