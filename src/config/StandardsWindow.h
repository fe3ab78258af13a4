#pragma once

// The exposure standards window ("Occupational Noise Exposure Standard"): the national
// standards table (ExposureStandards), fixed heading row and country column. A press on a
// country's name sets the meter's criterion level and exchange rate to that country's
// through the meter's setup menu (SetupSequence::preset); a press anywhere else does
// nothing. A preset takes half a minute or more; the line under the table says which
// country and setting is being set.

#include "config/SetupSequence.h"
#include "ui/MeterWindow.h"

class QLabel;
class QProgressBar;
class QTableWidget;

class StandardsWindow : public MeterWindow {
    Q_OBJECT
public:
    // Shown once the window opens, in the user's language: tr(kOpeningMessage).
    static constexpr const char *kOpeningMessage =
        QT_TR_NOOP("Click a country to set up criterion level and exchange rate. ");

    StandardsWindow(Meter &meter, Dialogs &dialogs, QWidget *parent = nullptr);
    ~StandardsWindow() override;

    // A mouse press on the table's cell: row 0 is the heading row, column 0 the countries.
    void chooseCountry(int row, int column);

    bool running() const { return running_; }

    QTableWidget *table_ = nullptr;
    QLabel *stepLabel_ = nullptr;   // the country and the setting being set during a preset
    QLabel *presetsNote_ = nullptr; // what the table's values are, and what they are not
    QProgressBar *progressBar_ = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void windowClosing() override;

private:
    void buildTable();
    void endProgress();

    SetupSequence sequence_;
    QString country_;
    bool running_ = false;
    bool greeted_ = false;
    bool waitCursor_ = false;
};
