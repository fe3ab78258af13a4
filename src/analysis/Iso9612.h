#pragma once

// The daily noise exposure LEX,8h and its expanded uncertainty U by ISO 9612:2009, from
// several measured LAeq samples, by one of its three strategies:
// - task-based: each task has a duration (hours), one or more samples and optionally the
//   range its duration varies in; the tasks' energies add up to the day;
//   A task of fewer than three samples is computed, with an advisory, but its u1a is not
//   estimated;
// - job-based (at least 5 samples) and full-day (at least 3): the samples' energy mean
//   stands for an effective day of Te hours, and the sampling uncertainty c1u1 comes from
//   the standard's table C.4 (linear in u1, then in N; clamped to the table's edges; a u1
//   beyond its last column, 6 dB, is said in an advisory, since the clamped c1u1 is then
//   smaller than the sampling's).
// u2 (the instrument) is 0.7 dB for a class 1 sound level meter, 1.5 dB for class 2 and
// for a personal sound exposure meter; u3 (the microphone position) is 1.0 dB.
// U = 1.65 u, one-sided 95 %; the upper value is LEX,8h + U.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class Iso9612 {
public:
    enum class Strategy { Task, Job, FullDay };
    enum class Instrument { Class1, Class2, Meter };

    struct Task {
        QString name;
        double hours = 0.0;             // Tm, above 0 and at most 24
        QList<double> samplesDb;        // Lmi, 0 .. 140 dB, at least one
        std::optional<double> minHours; // the range Tm varies in, when known
        std::optional<double> maxHours;
    };

    struct Input {
        Strategy strategy = Strategy::Job;
        Instrument instrument = Instrument::Meter;
        QList<double> samplesDb;     // job-based and full-day, 0 .. 140 dB
        double effectiveHours = 8.0; // Te of job-based and full-day, above 0 and at most 24
        QList<Task> tasks;           // task-based
    };

    struct TaskFigures {
        QString name;
        int samples = 0;
        double laeqDb = 0.0;         // Lm
        double contributionDb = 0.0; // Lm + 10 lg(Tm / 8 h)
        double spreadDb = 0.0;       // highest sample - lowest
        // The standard uncertainty of the task's level from its samples; not estimated
        // (nothing, and no part of u) for fewer than kTaskSamples samples, which an
        // advisory says.
        std::optional<double> u1aDb;
    };

    // The samples the standard asks for per task.
    static constexpr int kTaskSamples = 3;

    // A plain value: the `dosemeter-cli iso9612` lines and the window's figures.
    struct Result {
        QString message; // why there are no figures; empty when there are
        bool ok() const { return message.isEmpty(); }

        Strategy strategy = Strategy::Job;
        Instrument instrument = Instrument::Meter; // the instrument u2 was taken for
        int samples = 0;
        double laeqDb = 0.0; // LAeq,Te (job-based, full-day)
        double lex8hDb = 0.0;
        double u1Db = 0.0;   // job-based, full-day
        double c1u1Db = 0.0; // job-based, full-day
        double u2Db = 0.0;
        double u3Db = 0.0;
        double uDb = 0.0;
        double expandedDb = 0.0; // U
        double upperDb = 0.0;
        QList<TaskFigures> tasks;
        // A caveat: its text as marked for translation (context "Iso9612") and the values
        // that fill it. The lines give it in English; a window translates `source` and
        // fills it the same way.
        struct Advisory {
            const char *source = "";
            QStringList values;
            QString filled(const QString &pattern) const;
            QString text() const { return filled(QString::fromLatin1(source)); }
        };
        QList<Advisory> advisories;

        // "strategy: job", "samples: 6", "laeq: 88.4", ... "upper: 92.2", then
        // "advisory: TEXT" lines; each figure rounded to 0.1 dB. Task-based gives no laeq,
        // u1 and c1u1, but "task NAME: laeq 87.1 contribution 84.1 samples 3" per task after
        // lex8h.
        QStringList lines() const;
        QString text() const;
    };

    static Result compute(const Input &input);

    // c1u1 of table C.4 for N samples with the standard deviation u1 (dB).
    static double samplingUncertainty(int samples, double u1Db);

    // Levels typed as "88.1,87.6, 89" (commas, blanks allowed around them); nothing when
    // any item is no number.
    static std::optional<QList<double>> levelList(const QString &text);
    // A task's duration range typed as "TMIN-TMAX" in hours ("3-4.5"); nothing for another
    // shape. Whether the range makes sense is for compute() to say.
    static std::optional<std::pair<double, double>> durationRange(const QString &text);

    // The least samples a strategy takes: 1 per task, 5 job-based, 3 full-day.
    static int minimumSamples(Strategy strategy);

    // Names as the command line takes them: "task", "job", "full-day"; "class1", "class2",
    // "meter".
    static QString strategyName(Strategy strategy);
    static std::optional<Strategy> strategyFromName(const QString &name);
    static std::optional<Instrument> instrumentFromName(const QString &name);

    static constexpr double kMaxLevelDb = 140.0;
    static constexpr double kMaxHours = 24.0;
};
