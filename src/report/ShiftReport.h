#pragma once

// The shift report: one document a hygienist can hand in. On the report template: the
// header (worker, site, job, meter ID, the measurement's start and end, the files, the
// print date and the program's version), the assessment's figures (a row per criterion
// set, LAeq, LEX,8h with the EU status, the maximum and the time above 80/85/90 dB), the
// level over clock time, the 1 dB distribution with L10/L50/L90, the excluded spans and
// the files' notes, the ISO 9612 figures when there are any, the bank results when a
// bank file is given, and a line for the signature.
//
// Every figure is the text `dosemeter-cli assess` prints for it, with its unit, so the
// report and the command line never disagree on a digit.

#include "analysis/ExposureAssessment.h"
#include "analysis/ExposureStatistics.h"
#include "analysis/Iso9612.h"
#include "analysis/LevelCounts.h"
#include "banks/BankFile.h"
#include "banks/BankGrid.h"
#include "data/RecordTable.h"
#include "report/TimeHistory.h"
#include "ui/ReportPage.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QPagedPaintDevice;

class ShiftReport {
public:
    static const char *const kTitle; // "Noise Exposure Report"

    // A data file's records and its three note lines.
    struct Source {
        QString name;
        RecordTable table;
        QStringList notes;
    };
    struct Particulars {
        QString worker;
        QString site;
        QString job;
        QString meterId; // empty when the files do not tell it
        QDateTime printed;
    };
    struct Banks {
        QString fileName;
        BankGrid grid;
        BankFile::Texts texts;
    };

    // The excluded spans of `inputs` name the sources by their index.
    ShiftReport(QList<Source> sources, const ExposureAssessment::Inputs &inputs,
                const Particulars &particulars);

    // The figures; without any (no level in the files) there is no report to draw.
    const AssessmentResult &result() const { return result_; }

    const Particulars &particulars() const { return particulars_; }
    void setParticulars(const Particulars &particulars) { particulars_ = particulars; }
    void setIso(const Iso9612::Result &iso) { iso_ = iso; }
    void setBanks(const Banks &banks) { banks_ = banks; }

    ReportPage::Header header() const;
    // Draws the report on a printer or a PDF writer; the number of pages.
    int paint(QPagedPaintDevice &device) const;

    // Writes the report as a PDF at `path` in one step: a failure leaves no partial file
    // and an earlier file as it was. Empty on success, else why not.
    QString writePdf(const QString &path) const;
    // The resolution the PDF is drawn at (dots per inch): the time history has a
    // minimum-to-maximum line per dot column.
    static constexpr int kPdfDpi = 300;

private:
    void drawBody(ReportPage &page) const;
    void drawResults(ReportPage &page) const;
    void drawTimeHistory(ReportPage &page) const;
    void drawDistribution(ReportPage &page) const;
    void drawSpansAndNotes(ReportPage &page) const;
    void drawIso(ReportPage &page) const;
    void drawBanks(ReportPage &page) const;
    void drawMethod(ReportPage &page) const;
    void drawSignature(ReportPage &page) const;
    QString figure(const QString &name) const;

    QList<Source> sources_;
    Particulars particulars_;
    ExposureAssessment assessment_;
    AssessmentResult result_;
    QHash<QString, QString> figures_; // the assess lines as name -> value
    TimeHistory history_;
    LevelCounts counts_;             // the records used, not the excluded ones
    QHash<QString, QString> levels_; // their statistics' lines as name -> value
    std::optional<Iso9612::Result> iso_;
    std::optional<Banks> banks_;
};
