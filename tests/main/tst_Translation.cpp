// The windows in Brazilian Portuguese: nothing left in English, and files that do not
// change with the language.

#include "analysis/Iso9612.h"
#include "averaging/AverageState.h"
#include "averaging/AverageWindow.h"
#include "averaging/AvgFile.h"
#include "banks/BankFile.h"
#include "banks/BankState.h"
#include "banks/BankWindow.h"
#include "config/SetupWindow.h"
#include "data/DatFile.h"
#include "data/FileState.h"
#include "data/LoggerWindow.h"
#include "library/Library.h"
#include "link/Messages.h"
#include "main/ControlPanel.h"
#include "main/MainWindow.h"
#include "main/PortWindow.h"
#include "main/Translation.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"
#include "ui/GridView.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {

// Every text a user reads in the window, with where it is: captions, buttons, menus and
// their entries, group boxes, notes' placeholders, tooltips and the window title.
QList<std::pair<QString, QString>> shownTexts(const QWidget &window)
{
    QList<std::pair<QString, QString>> texts{{QStringLiteral("title"), window.windowTitle()}};
    for (const QLabel *label : window.findChildren<QLabel *>())
        texts.append({label->objectName(), label->text()});
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
        texts.append({button->objectName(), button->text()});
    for (const QAction *action : window.findChildren<QAction *>())
        texts.append({action->objectName(), action->text()});
    for (const QMenu *menu : window.findChildren<QMenu *>())
        texts.append({menu->objectName(), menu->title()});
    for (const QGroupBox *box : window.findChildren<QGroupBox *>())
        texts.append({box->objectName(), box->title()});
    for (const QLineEdit *edit : window.findChildren<QLineEdit *>())
        texts.append({edit->objectName(), edit->placeholderText()});
    for (const QWidget *widget : window.findChildren<QWidget *>())
        texts.append({widget->objectName() + QStringLiteral(".toolTip"), widget->toolTip()});
    return texts;
}

// Texts that read the same in both languages: names, units, numbers, the meter's own
// captions and keys, and the texts the program fills in from the meter.
bool sameInBothLanguages(const QString &text)
{
    static const QStringList same{"Digital", "TWA",  "<-RESET->", "V 7.1  2009/11/30",
                                  "No COM",  "dBA",  "COM1",      "OK",
                                  "SIM",     "MODE", "EVENT",     "RESET",
                                  "CLOCK",   "RUN",  "PAUSE",     "Dose Meter",
                                  "LAeq",    "ID",   "140 PEAK"};
    QString letters = text;
    letters.remove(QLatin1Char('&'));
    return same.contains(letters) ||
           !letters.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2}")));
}

} // namespace

class TestTranslation : public QObject {
    Q_OBJECT

private slots:
    void chooseLanguage_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("brazilian-locale") << ""
                                          << "pt_BR"
                                          << "pt_BR";
        QTest::newRow("portuguese-locale") << ""
                                           << "pt_PT"
                                           << "pt_BR";
        QTest::newRow("german-locale") << ""
                                       << "de_DE"
                                       << "en";
        QTest::newRow("c-locale") << ""
                                  << "C"
                                  << "en";
        QTest::newRow("option-wins-over-locale") << "en"
                                                 << "pt_BR"
                                                 << "en";
        QTest::newRow("option-portuguese") << "pt_BR"
                                           << "en_US"
                                           << "pt_BR";
    }
    void chooseLanguage()
    {
        QFETCH(QString, option);
        QFETCH(QString, locale);
        const std::optional<QString> given =
            option.isEmpty() ? std::nullopt : std::optional<QString>(option);
        QTEST(Translation::chooseLanguage(given, QLocale(locale)), "expected");
    }

    void windowsLeaveNoEnglish_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("main-window") << "MainWindow";
        QTest::newRow("port-window") << "PortWindow";
        QTest::newRow("control-panel") << "ControlPanel";
        QTest::newRow("setup-window") << "SetupWindow";
        QTest::newRow("logger-window") << "LoggerWindow";
        QTest::newRow("event-window") << "BankWindow";
        QTest::newRow("average-window") << "AverageWindow";
        QTest::newRow("report-dialog") << "ShiftReportPreview";
    }
    void windowsLeaveNoEnglish()
    {
        QFETCH(QString, window);
        const QList<std::pair<QString, QString>> english = textsOf(window, QStringLiteral("en"));
        QTranslator portuguese;
        QVERIFY(portuguese.load(QStringLiteral(":/i18n/dosemeter_pt_BR.qm")));
        QCoreApplication::installTranslator(&portuguese);
        const QList<std::pair<QString, QString>> translated =
            textsOf(window, QStringLiteral("pt_BR"));
        QCoreApplication::removeTranslator(&portuguese);
        QCOMPARE(translated.size(), english.size());
        QStringList left;
        for (qsizetype i = 0; i < english.size(); ++i) {
            const QString &text = translated[i].second;
            if (!text.isEmpty() && text == english[i].second && !sameInBothLanguages(text))
                left << translated[i].first + QStringLiteral(": ") + text;
        }
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QStringLiteral("; "))));
    }

    // The saved-file view as it opens from View File: every toolbar entry shows, none is
    // put away behind the toolbar's extension arrow, in either language.
    // The record grids head their columns in the window's language; the files they show
    // keep the English headings.
    void gridHeadingsFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("english") << "en" << QStringList{"No.s", "Date", "Time", "dBA"};
        QTest::newRow("portuguese") << "pt_BR" << QStringList{"No.s", "Data", "Hora", "dBA"};
    }
    void gridHeadingsFollowTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, shown);
        QTranslator portuguese;
        if (language != QLatin1String("en")) {
            QVERIFY(portuguese.load(QStringLiteral(":/i18n/dosemeter_pt_BR.qm")));
            QCoreApplication::installTranslator(&portuguese);
        }
        MainWindowRig rig;
        rig.load();
        rig.dialogs.fileNames.enqueue(testsupport::golden(QStringLiteral("recording-form.dat")));
        rig.panel.viewFileAction_->trigger();
        QWidget *window = rig.panel.windows().window(QStringLiteral("SavedFileWindow"));
        QVERIFY(window);
        auto *grid = window->findChild<GridView *>(QStringLiteral("grid"));
        QStringList headings;
        QStringList kept;
        for (int column = 0; column < grid->model()->columnCount(); ++column) {
            headings << grid->shownHeading(column);
            kept << grid->model()->headerData(column, Qt::Horizontal).toString();
        }
        QCoreApplication::removeTranslator(&portuguese);
        QCOMPARE(headings, shown);
        QCOMPARE(kept, (QStringList{"No.s", "Date", "Time", "dBA"}));
    }

    // The texts several windows share reach the message box in Portuguese.
    void sharedMessagesAreTranslated()
    {
        QTranslator portuguese;
        QVERIFY(portuguese.load(QStringLiteral(":/i18n/dosemeter_pt_BR.qm")));
        QCoreApplication::installTranslator(&portuguese);
        QStringList left;
        for (const QString &text : {Messages::kKeyLocked, Messages::kInvalid, Messages::kNotDbaMode,
                                    Messages::kNoDevice, Messages::kMeterBusy}) {
            if (Dialogs::sharedMessage(text) == text)
                left << text;
        }
        QCoreApplication::removeTranslator(&portuguese);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QStringLiteral("; "))));
    }

    // The logic's messages: in the user's language in the windows, in English where no
    // translator is installed (the command line).
    void logicMessagesFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("portuguese");
        QTest::newRow("data file") << "DatFile"
                                   << "The file x.dat is not a data file: it holds binary data."
                                   << "O arquivo x.dat não é um arquivo de dados: contém dados "
                                      "binários.";
        QTest::newRow("bank file") << "BankFile"
                                   << "The file x.bnk holds 1 of the 18 lines of a bank file; "
                                      "only those were read."
                                   << "O arquivo x.bnk contém 1 das 18 linhas de um arquivo de "
                                      "bancos; só essas foram lidas.";
        QTest::newRow("sampling") << "Iso9612"
                                  << "Job-based needs at least 5 samples; 0 given."
                                  << "A estratégia por função precisa de pelo menos 5 amostras; 0 "
                                     "informadas.";
        QTest::newRow("advisory")
            << "advisory"
            << "c1u1 is 12.1 dB, above 3.5 dB: the measurement plan should be "
               "revised"
            << "c1u1 é 12.1 dB, acima de 3,5 dB: o plano de medição deve ser "
               "revisto";
        // The figures' lines, which the command line prints and the shift report reads,
        // stay English.
        QTest::newRow("advisory line") << "advisory line"
                                       << "c1u1 is 12.1 dB, above 3.5 dB: the measurement plan "
                                          "should be revised"
                                       << "c1u1 is 12.1 dB, above 3.5 dB: the measurement plan "
                                          "should be revised";
        QTest::newRow("library") << "Library"
                                 << "No library is open."
                                 << "Nenhuma biblioteca está aberta.";
    }
    void logicMessagesFollowTheLanguage()
    {
        QFETCH(QString, source);
        QFETCH(QString, english);
        QFETCH(QString, portuguese);
        QCOMPARE(logicMessage(source), english);
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/i18n/dosemeter_pt_BR.qm")));
        QCoreApplication::installTranslator(&translator);
        const QString translated = logicMessage(source);
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(translated, portuguese);
    }

    // Files hold the English whatever the language of the windows that write them.
    void filesAreTheSameInBothLanguages_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("holds");
        QTest::newRow("recording") << "shift.dat" << QByteArray("No.s");
        QTest::newRow("event-banks") << "shift.bnk" << QByteArray("Criterion level");
        QTest::newRow("average") << "shift.avg" << QByteArray("Criterion level: 85");
    }
    void filesAreTheSameInBothLanguages()
    {
        QFETCH(QString, file);
        const QByteArray english = fileBytes(file);
        QTranslator portuguese;
        QVERIFY(portuguese.load(QStringLiteral(":/i18n/dosemeter_pt_BR.qm")));
        QCoreApplication::installTranslator(&portuguese);
        const QByteArray translated = fileBytes(file);
        QCoreApplication::removeTranslator(&portuguese);
        QFETCH(QByteArray, holds);
        QVERIFY(english.contains(holds));
        QCOMPARE(translated, english);
    }

private:
    // DOSEMETER_SCREENSHOTS=DIR keeps a picture of the window, to look at.
    static void saveScreenshot(QWidget *window, const QString &name)
    {
        if (qEnvironmentVariableIsSet("DOSEMETER_SCREENSHOTS"))
            window->grab().save(qEnvironmentVariable("DOSEMETER_SCREENSHOTS") + QLatin1Char('/') +
                                name + QStringLiteral(".png"));
    }

    // The texts of a window, and its picture when pictures are asked for.
    static QList<std::pair<QString, QString>> seen(QWidget &window, const QString &language)
    {
        if (qEnvironmentVariableIsSet("DOSEMETER_SCREENSHOTS")) {
            window.show();
            saveScreenshot(&window, window.objectName() + QLatin1Char('-') + language);
        }
        return shownTexts(window);
    }

    static QList<std::pair<QString, QString>> textsOf(const QString &window,
                                                      const QString &language)
    {
        if (window == QLatin1String("PortWindow")) {
            PortWindow port;
            return seen(port, language);
        }
        MainWindowRig rig;
        if (window == QLatin1String("BankWindow")) {
            BankState banks;
            BankWindow events(rig.meter, banks, rig.dialogs);
            return seen(events, language);
        }
        if (window == QLatin1String("AverageWindow")) {
            AverageState state;
            FileState files;
            AverageWindow average(rig.meter, state, files, rig.dialogs, {});
            return seen(average, language);
        }
        if (window == QLatin1String("ControlPanel")) {
            ControlPanel controls(rig.meter, rig.dialogs, [] { return QString(); });
            return seen(controls, language);
        }
        if (window == QLatin1String("SetupWindow")) {
            SetupWindow setup(rig.meter, rig.dialogs, [] { return QString(); });
            return seen(setup, language);
        }
        if (window == QLatin1String("ShiftReportPreview")) {
            // As a user reaches it: View File, Assessment, Report...
            rig.load();
            rig.dialogs.fileNames.enqueue(
                testsupport::golden(QStringLiteral("recording-form.dat")));
            rig.panel.viewFileAction_->trigger();
            QWidget *view = rig.panel.windows().window(QStringLiteral("SavedFileWindow"));
            view->findChild<QAction *>(QStringLiteral("Assessment"))->trigger();
            QWidget *assessment = rig.panel.windows().window(QStringLiteral("AssessmentWindow"));
            assessment->findChild<QPushButton *>(QStringLiteral("reportButton"))->click();
            auto *report = assessment->findChild<QWidget *>(QStringLiteral("ShiftReportPreview"));
            return report ? seen(*report, language) : QList<std::pair<QString, QString>>{};
        }
        if (window == QLatin1String("LoggerWindow")) {
            LoggerWindow logger(rig.meter, rig.app.logger, rig.app.files, rig.dialogs);
            return seen(logger, language);
        }
        return seen(rig.panel, language);
    }

    static QByteArray fileBytes(const QString &file)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        if (file.endsWith(QLatin1String(".bnk")))
            saveEventBanks(path);
        else if (file.endsWith(QLatin1String(".avg")))
            saveAverage(path);
        else
            saveRecording(path);
        QFile saved(path);
        return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray();
    }

    static QString logicMessage(const QString &source)
    {
        if (source == QLatin1String("DatFile"))
            return DatFile::parse(QByteArray("No.s\0", 5), QStringLiteral("x.dat")).error;
        if (source == QLatin1String("BankFile"))
            return BankFile::parseMenu("\t----\r\n", QStringLiteral("x.bnk")).error;
        if (source == QLatin1String("Iso9612"))
            return Iso9612::compute({}).message;
        if (source.startsWith(QLatin1String("advisory"))) {
            Iso9612::Input spread;
            spread.samplesDb = {80.0, 90.0, 100.0, 85.0, 95.0};
            const Iso9612::Result result = Iso9612::compute(spread);
            const Iso9612::Result::Advisory advisory = result.advisories.value(0);
            return source == QLatin1String("advisory")
                       ? advisory.filled(QCoreApplication::translate("Iso9612", advisory.source))
                       : advisory.text();
        }
        Library library;
        library.list();
        return library.errorString();
    }

    // An average file's header, as its writer labels it.
    static void saveAverage(const QString &path)
    {
        AvgFile::Document document;
        document.header = {"Press 4", "A. Worker", "0042",     "2026/12/10", "08:00:00", "00:00:10",
                           "85",      "5",         "00:00:30", "91.2",       "No"};
        AvgFile::save(path, document);
    }

    // The Event window's banks (none read: the captions alone), saved from its toolbar.
    static void saveEventBanks(const QString &path)
    {
        MeterRig rig;
        BankState banks;
        BankWindow events(rig.meter, banks, rig.dialogs);
        rig.dialogs.fileNames.enqueue(path);
        events.findChild<QAction *>(QStringLiteral("Save"))->trigger();
    }

    // A recording of three samples, as the main window writes it.
    static void saveRecording(const QString &path)
    {
        MainWindowRig rig;
        rig.load();
        rig.panel.samplingTimer_.stop();
        rig.panel.sampler().setPeriod(0.2);
        rig.dialogs.fileNames.enqueue(path);
        rig.panel.openAction_->trigger();
        rig.panel.startRecordingAction_->trigger();
        for (double level : {90.0, 91.5, 88.2}) {
            for (int tick = 0; tick < 2; ++tick) {
                rig.tick(level);
                rig.clock.advance(0.1);
                rig.panel.takeSample();
            }
        }
        rig.panel.stopRecordingAction_->trigger();
    }
};

DOSEMETER_TEST(TestTranslation)
#include "tst_Translation.moc"
