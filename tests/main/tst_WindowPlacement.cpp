// Where windows open: inside the screen's available area, beside the main window where
// they fit, cascaded off windows already open.

#include "main/WindowPlacement.h"
#include "support/TestMain.h"

#include <QTest>

using Points = QList<QPoint>;

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void besideMain_data()
    {
        QTest::addColumn<QRect>("available"); // 1920 x 1080 less a panel; 1366 x 768
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<Points>("occupied");
        QTest::addColumn<QPoint>("position");
        const QRect hd(0, 0, 1920, 1040), small(0, 27, 1366, 741);
        const QRect centred(660, 300, 600, 440);
        // clang-format off
        QTest::newRow("fits-right") << hd << QRect(0, 0, 600, 440) << QSize(640, 480) << Points{} << QPoint(600, 0);
        QTest::newRow("no-room-right-goes-left") << hd << QRect(1000, 300, 600, 440) << QSize(700, 500) << Points{} << QPoint(300, 300);
        QTest::newRow("no-room-either-side-moved-in") << hd << centred << QSize(900, 600) << Points{} << QPoint(1020, 300);
        QTest::newRow("tall-moved-up") << hd << centred << QSize(640, 900) << Points{} << QPoint(1260, 140);
        QTest::newRow("larger-than-screen-keeps-title-bar") << small << QRect(0, 27, 500, 400) << QSize(1500, 900) << Points{} << QPoint(0, 27);
        QTest::newRow("main-off-the-top") << small << QRect(-100, -50, 500, 400) << QSize(400, 300) << Points{} << QPoint(400, 27);
        QTest::newRow("same-spot-cascades") << hd << QRect(0, 0, 600, 440) << QSize(640, 480) << Points{{600, 0}, {630, 30}} << QPoint(660, 60);
        QTest::newRow("cascade-kept-inside") << QRect(0, 0, 1300, 1000) << QRect(0, 0, 600, 440) << QSize(640, 480) << Points{{600, 0}, {630, 30}, {660, 60}} << QPoint(660, 90);
        QTest::newRow("second-screen") << QRect(1920, 0, 1280, 1024) << QRect(2000, 100, 500, 400) << QSize(800, 500) << Points{} << QPoint(2400, 100);
        // clang-format on
    }
    void besideMain()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, main);
        QFETCH(QSize, window);
        QFETCH(Points, occupied);
        QTEST(WindowPlacement::besideMain(available, main, window, occupied), "position");
    }

    // Beside what is open rather than on it: a window open right of the main window (the
    // control panel) sends the next one on to its right.
    void freeSpot_data()
    {
        using Rects = QList<QRect>;
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("main");
        QTest::addColumn<Rects>("open");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QPoint>("expected"); // (-1, -1): no free spot
        const QRect wide(0, 0, 1600, 860);
        const QRect main(0, 0, 622, 549);
        const QRect panel(622, 0, 554, 448);
        QTest::newRow("nothing-open-right-of-main")
            << wide << main << Rects{} << QSize(372, 507) << QPoint(622, 0);
        QTest::newRow("right-of-the-control-panel")
            << wide << main << Rects{panel} << QSize(372, 507) << QPoint(1176, 0);
        QTest::newRow("right-of-the-rightmost")
            << wide << main << Rects{panel, QRect(1176, 0, 200, 300)} << QSize(200, 300)
            << QPoint(1376, 0);
        QTest::newRow("no-room-on-a-laptop")
            << QRect(0, 0, 1366, 728) << main << Rects{panel} << QSize(372, 507) << QPoint(-1, -1);
        QTest::newRow("left-of-the-main-window")
            << wide << QRect(622, 0, 622, 549) << Rects{QRect(1244, 0, 354, 448)} << QSize(372, 507)
            << QPoint(250, 0);
    }
    void freeSpot()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, main);
        QFETCH(QList<QRect>, open);
        QFETCH(QSize, window);
        QFETCH(QPoint, expected);
        const std::optional<QPoint> spot = WindowPlacement::freeSpot(available, main, window, open);
        QCOMPARE(spot.value_or(QPoint(-1, -1)), expected);
    }

    // A laptop's 1366x768 less a 40-px panel is 1366x728 of frames; a 32-px title bar leaves
    // 1366x696 for a window's client.
    void fitted_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QSize>("expected");
        const QRect laptop(0, 0, 1366, 728);
        QTest::newRow("assessment-loses-height-only")
            << laptop << QSize(1180, 760) << QSize(1028, 635) << QSize(1180, 696);
        QTest::newRow("fits-unchanged")
            << laptop << QSize(900, 600) << QSize(400, 300) << QSize(900, 600);
        QTest::newRow("exactly-the-room")
            << laptop << QSize(1366, 696) << QSize(400, 300) << QSize(1366, 696);
        QTest::newRow("wider-than-the-screen")
            << laptop << QSize(1600, 500) << QSize(800, 300) << QSize(1366, 500);
        QTest::newRow("never-below-the-minimum")
            << QRect(0, 0, 800, 600) << QSize(1180, 760) << QSize(1028, 635) << QSize(1028, 635);
    }
    void fitted()
    {
        QFETCH(QRect, available);
        QFETCH(QSize, client);
        QFETCH(QSize, minimum);
        QTEST(WindowPlacement::fitted(available, client, QSize(0, 32), minimum), "expected");
    }
};

DOSEMETER_TEST(TestWindowPlacement)
#include "tst_WindowPlacement.moc"
