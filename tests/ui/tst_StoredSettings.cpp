// What the desktop program keeps between runs, and where a kept window comes back when the
// screens have changed.

#include "support/TestMain.h"
#include "ui/ScreenFit.h"
#include "ui/StandardShortcuts.h"
#include "ui/StoredSettings.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <memory>
#include <vector>

class TestStoredSettings : public QObject {
    Q_OBJECT

private slots:
    void keptBetweenRuns()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("dosemeter.conf"));
        {
            StoredSettings first(file);
            QCOMPARE(first.lastPort(), QString());
            QCOMPARE(first.sampleTicks(), std::nullopt);
            QCOMPARE(first.verifyDownload(), false);
            QCOMPARE(first.windowGeometry(QStringLiteral("BankWindow")), std::nullopt);
            first.setLastPort(QStringLiteral("/dev/ttyUSB0"));
            first.setSampleTicks(50);
            first.setVerifyDownload(true);
            first.setLastFolder(QStringLiteral("BankWindow.Save As"), QStringLiteral("/srv/a"));
            first.setLastFolder(QStringLiteral("LoggerWindow.Save As"), QStringLiteral("/srv/b"));
            first.setWindowGeometry(QStringLiteral("BankWindow"), QRect(10, 20, 300, 200));
        }
        const StoredSettings second(file);
        QCOMPARE(second.lastPort(), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(second.sampleTicks(), 50);
        QCOMPARE(second.verifyDownload(), true);
        QCOMPARE(second.lastFolder(QStringLiteral("BankWindow.Save As")), QStringLiteral("/srv/a"));
        QCOMPARE(second.lastFolder(QStringLiteral("LoggerWindow.Save As")),
                 QStringLiteral("/srv/b"));
        QCOMPARE(second.windowGeometry(QStringLiteral("BankWindow")), QRect(10, 20, 300, 200));
    }

    void keepOnScreen_data()
    {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("expected");
        const QRect left(0, 0, 1920, 1080);
        const QRect right(1920, 0, 1280, 1024);
        QTest::newRow("inside-primary")
            << QRect(100, 100, 400, 300) << QList<QRect>{left} << QRect(100, 100, 400, 300);
        QTest::newRow("inside-second-screen")
            << QRect(2000, 50, 400, 300) << QList<QRect>{left, right} << QRect(2000, 50, 400, 300);
        QTest::newRow("second-screen-gone")
            << QRect(2000, 50, 400, 300) << QList<QRect>{left} << QRect(1520, 50, 400, 300);
        QTest::newRow("far-away-to-primary")
            << QRect(-5000, -4000, 400, 300) << QList<QRect>{left, right} << QRect(0, 0, 400, 300);
        QTest::newRow("past-the-bottom")
            << QRect(100, 900, 400, 300) << QList<QRect>{left} << QRect(100, 780, 400, 300);
        QTest::newRow("larger-than-the-screen")
            << QRect(-50, -50, 2500, 1500) << QList<QRect>{left} << QRect(0, 0, 1920, 1080);
        QTest::newRow("across-two-screens-goes-to-the-larger-part")
            << QRect(1800, 100, 400, 300) << QList<QRect>{left, right}
            << QRect(1920, 100, 400, 300);
        QTest::newRow("no-screen") << QRect(5, 5, 10, 10) << QList<QRect>{} << QRect(5, 5, 10, 10);
    }
    void keepOnScreen()
    {
        QFETCH(QRect, window);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, expected);
        QCOMPARE(::keepOnScreen(window, screens), expected);
    }

    void standardShortcuts_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("saveOn");
        QTest::addColumn<QString>("printOn");
        QTest::newRow("menu-entries-win-over-toolbar")
            << QStringList{"Save", "saveAction", "Print"} << QStringList{} << "saveAction"
            << "Print";
        QTest::newRow("push-buttons")
            << QStringList{} << QStringList{"saveButton", "printButton"} << "saveButton"
            << "printButton";
        QTest::newRow("no-such-commands") << QStringList{"Plot"} << QStringList{"okButton"} << ""
                                          << "";
    }
    void standardShortcuts()
    {
        QFETCH(QStringList, actions);
        QFETCH(QStringList, buttons);
        QFETCH(QString, saveOn);
        QFETCH(QString, printOn);
        QWidget window;
        auto *toolbar = new QToolBar(&window);
        for (const QString &name : actions)
            toolbar->addAction(name)->setObjectName(name);
        for (const QString &name : buttons)
            (new QPushButton(name, &window))->setObjectName(name);
        addStandardShortcuts(&window);
        QCOMPARE(holderOf(window, QKeySequence::Save), saveOn);
        QCOMPARE(holderOf(window, QKeySequence::Print), printOn);
    }

    void keyAlreadyGivenIsLeftAlone()
    {
        QWidget window;
        auto *toolbar = new QToolBar(&window);
        QAction *own = toolbar->addAction(QStringLiteral("Store"));
        own->setShortcut(QKeySequence::Save);
        toolbar->addAction(QStringLiteral("Save"))->setObjectName(QStringLiteral("Save"));
        addStandardShortcuts(&window);
        QVERIFY(window.findChild<QAction *>(QStringLiteral("Save"))->shortcut().isEmpty());
    }

    // Esc closes the window, but a cell being edited takes it first: the edit is undone and
    // the window stays.
    void escapeEndsTheEditBeforeTheWindow()
    {
        QWidget window;
        auto *table = new QTableWidget(1, 1, &window);
        table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("85")));
        addStandardShortcuts(&window);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        table->setCurrentCell(0, 0);
        table->editItem(table->item(0, 0));
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != table);
        QTest::keyClicks(editor, QStringLiteral("90"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(window.isVisible());
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("85"));
        QTest::keyClick(table, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

private:
    // The objectName of what runs on `key`: an action, or the button a shortcut clicks.
    static QString holderOf(QWidget &window, QKeySequence::StandardKey key)
    {
        QStringList holders;
        for (const QAction *action : window.findChildren<QAction *>()) {
            if (action->shortcut() == QKeySequence(key))
                holders << action->objectName();
        }
        for (QShortcut *shortcut : window.findChildren<QShortcut *>()) {
            if (shortcut->key() != QKeySequence(key))
                continue;
            window.show();
            std::vector<std::unique_ptr<QSignalSpy>> clicks;
            const QList<QPushButton *> pushButtons = window.findChildren<QPushButton *>();
            for (QPushButton *button : pushButtons)
                clicks.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::clicked));
            emit shortcut->activated();
            for (qsizetype i = 0; i < pushButtons.size(); ++i) {
                if (!clicks[size_t(i)]->isEmpty())
                    holders << pushButtons[i]->objectName();
            }
        }
        return holders.join(QLatin1Char(','));
    }
};

DOSEMETER_TEST(TestStoredSettings)
#include "tst_StoredSettings.moc"
