#pragma once

// The exposure assessment window ("Exposure Assessment") of the saved-file view's
// records. Its first tab shows the figures of ExposureAssessment: the criterion sets as
// columns side by side (each checked to be used, the custom one typed as Lc, Q and Lt),
// the shift length, the time above 80, 85 and 90 dB, LEX,8h and the EU status in colour,
// and the excluded spans, chosen by dragging over the plot of the levels or by typing
// record numbers, each with a reason. Its second tab is the ISO 9612 calculation: the
// strategy, the instrument, samples typed or taken from the open file or other data
// files, and LEX,8h with its uncertainty, each task's contribution and any advisory.
// Every change of an input computes the figures again; "Copy" puts the lines of
// `dosemeter-cli assess` (or `iso9612`, on the second tab) on the clipboard; "Report..."
// asks for the shift report of the figures.

#include "analysis/ExposureAssessment.h"
#include "analysis/FigureCards.h"
#include "analysis/Iso9612.h"
#include "ui/MeterWindow.h"

class NumberField;
class QCPItemRect;
class QComboBox;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class QTableWidgetItem;
class VectorPlot;

class AssessmentWindow : public MeterWindow {
    Q_OBJECT
public:
    // `assessment` holds the records (one list, the open file). The window opens with the
    // sets osha-pel, osha-hc and niosh checked and an 8-hour shift.
    AssessmentWindow(Meter &meter, Dialogs &dialogs, ExposureAssessment assessment,
                     QWidget *parent = nullptr);

    const AssessmentResult &result() const { return result_; }
    const Iso9612::Result &isoResult() const { return isoResult_; }
    // What "Copy" puts on the clipboard: the lines of the tab shown.
    QString text() const;

    // Control events.
    void assess();
    void computeIso();
    void excludeRecords();
    void removeSpans();
    void addSampleRow();
    void addOpenFile();
    void addFile();
    void removeSamples();
    void strategyChanged();
    void copyFigures();

    // The excluded spans, replaced (those a library keeps with its measurements).
    void setExcludedSpans(const QList<ExcludedSpan> &spans);
    const QList<ExcludedSpan> &excludedSpans() const { return spans_; }

    // Whether the window assesses the same lists, by name and length, as `other` holds.
    bool assesses(const ExposureAssessment &other) const;

    // The inputs of the figures shown: the criterion sets, the shift and the spans.
    ExposureAssessment::Inputs inputs() const;

signals:
    // The user excluded records or counted a span again.
    void excludedSpansChanged();
    // "Report...": the shift report of the figures shown (the report lives above this
    // folder; the main window opens it).
    void reportRequested();

private:
    void buildControls();
    QWidget *buildAssessmentTab();
    QWidget *buildIsoTab();
    void buildPlot();
    // The levels of the list chosen for excluding spans (the first, or the one picked).
    void plotShownList();
    void showList(int list);
    void fillCriteriaTable();
    void criterionEdited(QTableWidgetItem *item);
    QList<CriterionSet> chosenCriteria(QString &problem) const;
    void showAssessment();
    // The caveats of the figures, and "≥" before the figures that are lower bounds.
    void showAdvisories();
    void showSpans();
    void showIso();
    void plotMouse(QMouseEvent *event, bool pressed, bool released);
    Iso9612::Input isoInput(QString &problem) const;
    void addSample(const QString &source, double levelDb);
    void updateControls();

    ExposureAssessment assessment_;
    AssessmentResult result_;
    Iso9612::Result isoResult_;
    QList<ExcludedSpan> spans_;
    std::optional<double> dragStart_;
    FigureCards cards_;
    FigureCards isoCards_;

    QTabWidget *tabs_ = nullptr;
    NumberField *shiftField_ = nullptr;
    QTableWidget *criteriaTable_ = nullptr;
    QLabel *euStatusLabel_ = nullptr;
    QLabel *messageLabel_ = nullptr;
    QLabel *advisoryLabel_ = nullptr; // the caveats of the figures shown
    VectorPlot *levelPlot_ = nullptr;
    QComboBox *listChoice_ = nullptr; // with several files: whose records are shown
    int shownList_ = 0;
    QCPItemRect *selection_ = nullptr;
    NumberField *firstRecordField_ = nullptr;
    NumberField *lastRecordField_ = nullptr;
    QLineEdit *reasonEdit_ = nullptr;
    QPushButton *excludeButton_ = nullptr;
    QTableWidget *spansTable_ = nullptr;
    QPushButton *removeSpanButton_ = nullptr;

    QComboBox *strategyCombo_ = nullptr;
    QComboBox *instrumentCombo_ = nullptr;
    NumberField *effectiveHoursField_ = nullptr;
    QStackedWidget *samplePages_ = nullptr;
    QTableWidget *samplesTable_ = nullptr;
    QTableWidget *tasksTable_ = nullptr;
    QPushButton *addSampleButton_ = nullptr;
    QPushButton *addOpenFileButton_ = nullptr;
    QPushButton *addFileButton_ = nullptr;
    QPushButton *removeSampleButton_ = nullptr;
    QTableWidget *contributionsTable_ = nullptr;
    QLabel *advisoriesLabel_ = nullptr;
    QLabel *isoMessageLabel_ = nullptr;

    QPushButton *copyButton_ = nullptr;
    QPushButton *reportButton_ = nullptr;
};
