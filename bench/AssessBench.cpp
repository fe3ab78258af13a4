// bench-assess: how long the exposure assessment takes for a week of one-second records
// (604,800) under five criterion sets, the records read into it once and assessed again,
// and how long the assessment window takes to show its figures again after an input
// changes (the shift, a criterion set, an excluded span) at a day of one-second records
// (86,400). The figures are the median of the runs. The window is drawn offscreen unless
// QT_QPA_PLATFORM says otherwise.
//
//   bench-assess [--repeat N]   (default 21)

#include "BenchRecords.h"

#include "analysis/AssessmentWindow.h"
#include "analysis/ExposureAssessment.h"
#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterState.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

constexpr int kWeek = 604800;
constexpr int kDay = 86400;

double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The median wall-clock time and the median processor time of the runs: on a machine busy
// with other work the processor time is the steadier figure.
struct Times {
    double wallMs;
    double cpuMs;
    QString text() const
    {
        return QStringLiteral("%1 ms (processor time %2 ms)")
            .arg(QString::number(wallMs, 'f', 1), QString::number(cpuMs, 'f', 1));
    }
};

template <typename Work> Times medianMilliseconds(int repeat, Work work)
{
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuMilliseconds();
        work(i);
        cpus.push_back(cpuMilliseconds() - cpuStart);
        walls.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int repeat = 21;
    const QStringList args = QApplication::arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--repeat"));
        at > 0 && at + 1 < args.size())
        repeat = std::max(1, args.at(at + 1).toInt());
    QTextStream out(stdout);

    const QList<CriterionSet> five{*CriterionSet::parse(QStringLiteral("osha-pel")),
                                   *CriterionSet::parse(QStringLiteral("osha-hc")),
                                   *CriterionSet::parse(QStringLiteral("niosh")),
                                   *CriterionSet::parse(QStringLiteral("acgih")),
                                   *CriterionSet::parse(QStringLiteral("85:4:75"))};
    const RecordTable week = benchRecords(kWeek);
    ExposureAssessment weekAssessment;
    const Times read = medianMilliseconds(std::max(1, repeat / 4), [&](int) {
        ExposureAssessment fresh;
        fresh.addRecords(QStringLiteral("week.dat"), week);
    });
    weekAssessment.addRecords(QStringLiteral("week.dat"), week);
    const ExposureAssessment::Inputs inputs{five, 8.0, {{0, 3600, 7200, QStringLiteral("lunch")}}};
    const Times assessed =
        medianMilliseconds(repeat, [&](int) { (void)weekAssessment.assess(inputs); });
    out << "assessment, a week of 1-s records (604,800), five criterion sets (target 100 ms):\n"
        << "  records read into the assessment: " << read.text() << "\n"
        << "  assessed (figures of all five sets): " << assessed.text() << "\n"
        << "  both: " << Times{read.wallMs + assessed.wallMs, read.cpuMs + assessed.cpuMs}.text()
        << "\n";
    out.flush();

    SystemClock clock;
    VirtualMeter vm;
    VirtualMeterLink link(vm, clock);
    MeterState state;
    Meter meter(link, clock, state);
    ScriptedDialogs dialogs;
    ExposureAssessment dayAssessment;
    dayAssessment.addRecords(QStringLiteral("day.dat"), benchRecords(kDay));
    AssessmentWindow window(meter, dialogs, std::move(dayAssessment));
    window.resize(1600, 900);
    window.show();
    QApplication::processEvents();

    // Each change as the user makes it, then the window drawn with the new figures.
    auto *shift = window.findChild<QDoubleSpinBox *>(QStringLiteral("shiftField"));
    auto *criteria = window.findChild<QTableWidget *>(QStringLiteral("criteriaTable"));
    auto *first = window.findChild<QDoubleSpinBox *>(QStringLiteral("firstRecordField"));
    auto *last = window.findChild<QDoubleSpinBox *>(QStringLiteral("lastRecordField"));
    auto *reason = window.findChild<QLineEdit *>(QStringLiteral("reasonEdit"));
    auto *exclude = window.findChild<QPushButton *>(QStringLiteral("excludeButton"));
    const Times shiftTimes = medianMilliseconds(repeat, [&](int i) {
        shift->setValue(8.0 + (i % 2 == 0 ? 0.5 : -0.5));
        window.repaint();
    });
    const Times criterionTimes = medianMilliseconds(repeat, [&](int i) {
        criteria->item(0, 3)->setCheckState(i % 2 == 0 ? Qt::Checked : Qt::Unchecked);
        window.repaint();
    });
    const Times spanTimes = medianMilliseconds(repeat, [&](int i) {
        first->setValue(1000 + i * 100);
        last->setValue(1050 + i * 100);
        reason->setText(QStringLiteral("microphone knocked"));
        exclude->click();
        QApplication::processEvents(); // the plot's queued redraw with the new span
        window.repaint();
    });
    out << "assessment window, a day of 1-s records (86,400), figures shown again after an "
           "input changes (target 50 ms):\n"
        << "  the shift: " << shiftTimes.text() << "\n"
        << "  a criterion set checked: " << criterionTimes.text() << "\n"
        << "  a span excluded (plot redrawn): " << spanTimes.text() << "\n";
    return 0;
}
