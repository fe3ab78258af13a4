#include "averaging/AverageDialogs.h"

#include "averaging/AverageRun.h"
#include "averaging/IntervalPrompt.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>

namespace AverageDialogs {

namespace {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// The interval prompt's texts, which the prompt's logic keeps in English, as the dialogs
// show them in the user's language.
[[maybe_unused]] const char *const kPromptTexts[] = {
    QT_TRANSLATE_NOOP("AverageDialogs", "Input Interval"),
    QT_TRANSLATE_NOOP("AverageDialogs", "Enter interval\r\n (hh:nn:ss) "),
    QT_TRANSLATE_NOOP("AverageDialogs", "Invalid, try again!\r\n"),
};

QString shown(const QString &english)
{
    return QCoreApplication::translate("AverageDialogs", english.toUtf8().constData());
}

} // namespace

bool askInterval(Dialogs &dialogs, QWidget *window, AverageRun &run)
{
    if (!run.isAvailable(AverageRun::Button::Interval))
        return false;
    for (;;) {
        const std::optional<QString> reply =
            dialogs.input(window, shown(IntervalPrompt::kTitle), shown(IntervalPrompt::kPrompt),
                          run.state().IntervalText);
        if (!reply || reply->isEmpty())
            return false;
        if (const std::optional<IntervalPrompt::Interval> interval = IntervalPrompt::parse(*reply))
            return run.setInterval(*interval);
        dialogs.message(window, QString(), shown(IntervalPrompt::kInvalid), Dialogs::Icon::Critical,
                        Dialogs::Buttons::Ok);
    }
}

bool save(Dialogs &dialogs, QWidget *window, const AverageRun &run, const QString &job,
          const QString &name, const QString &id, bool recordingActive, QString &currentFileName)
{
    if (recordingActive || !run.isAvailable(AverageRun::Button::Save))
        return false;
    const QString path = dialogs.saveFileName(
        window, QCoreApplication::translate("AverageDialogs", "Save As"),
        QCoreApplication::translate("AverageDialogs", "Avg type[*.avg] (*.avg)"));
    if (path.isEmpty())
        return false;
    currentFileName = path;
    QString error;
    {
        BusyCursor busy;
        error = AvgFile::save(path, run.document(job, name, id));
    }
    if (error.isEmpty())
        return true;
    dialogs.message(window, QString(),
                    QCoreApplication::translate(
                        "AverageDialogs",
                        "%1 could not be saved: %2.\nAn earlier file of that name is unchanged.")
                        .arg(QFileInfo(path).fileName(), error),
                    Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    return false;
}

std::optional<AvgFile::Content> open(Dialogs &dialogs, QWidget *window, AverageRun &run)
{
    const QString path = dialogs.openFileName(
        window, QCoreApplication::translate("AverageDialogs", "Open"),
        QCoreApplication::translate("AverageDialogs", "Avg type[*.avg] (*.avg)"));
    if (path.isEmpty())
        return std::nullopt;
    return openPath(dialogs, window, run, path);
}

std::optional<AvgFile::Content> openPath(Dialogs &dialogs, QWidget *window, AverageRun &run,
                                         const QString &path)
{
    AvgFile::Content content;
    {
        BusyCursor busy;
        content = AvgFile::read(path);
        run.open(content);
    }
    if (!content.ok())
        dialogs.message(window, QString(), content.error,
                        content.read ? Dialogs::Icon::Warning : Dialogs::Icon::Critical,
                        Dialogs::Buttons::Ok);
    if (!content.read)
        return std::nullopt;
    return content;
}

} // namespace AverageDialogs
