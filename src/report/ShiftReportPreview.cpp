#include "report/ShiftReportPreview.h"

#include "ui/Dialogs.h"
#include "ui/ReadablePreview.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPageSize>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char *const kWindowTitle = QT_TRANSLATE_NOOP("ShiftReportPreview", "Noise Exposure Report");
} // namespace

ShiftReportPreview::ShiftReportPreview(Dialogs &dialogs, std::unique_ptr<ShiftReport> report,
                                       QWidget *parent)
    : QDialog(parent), dialogs_(dialogs), report_(std::move(report)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("ShiftReportPreview"));
    // The window speaks the user's language; the pages, like the command line's, stay English.
    setWindowTitle(tr(kWindowTitle));
    printer_->setDocName(QString::fromLatin1(ShiftReport::kTitle));
    printer_->setPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                              ? QPageSize(QPageSize::Letter)
                              : QPageSize(QPageSize::A4));

    auto named = [](auto *control, const char *name) {
        control->setObjectName(QLatin1String(name));
        return control;
    };
    workerEdit_ = named(new QLineEdit(report_->particulars().worker), "workerEdit");
    siteEdit_ = named(new QLineEdit(report_->particulars().site), "siteEdit");
    jobEdit_ = named(new QLineEdit(report_->particulars().job), "jobEdit");
    auto *fields = new QFormLayout;
    fields->addRow(tr("&Worker:"), workerEdit_);
    fields->addRow(tr("&Site:"), siteEdit_);
    fields->addRow(tr("&Job or task:"), jobEdit_);

    pages_ = named(new QPrintPreviewWidget(printer_.get()), "pages");
    pages_->setAccessibleName(tr("Report pages"));
    printButton_ = named(new QPushButton(tr("&Print...")), "printButton");
    exportButton_ = named(new QPushButton(tr("&Export PDF...")), "exportButton");
    auto *close = named(new QPushButton(tr("&Close")), "closeButton");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(printButton_);
    buttons->addWidget(exportButton_);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);

    connect(pages_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *printer) { report_->paint(*printer); });
    for (QLineEdit *edit : {workerEdit_, siteEdit_, jobEdit_})
        connect(edit, &QLineEdit::editingFinished, this, &ShiftReportPreview::particularsEdited);
    connect(printButton_, &QPushButton::clicked, this, &ShiftReportPreview::printReport);
    connect(exportButton_, &QPushButton::clicked, this, &ShiftReportPreview::exportPdf);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    ReadablePreview::apply(this, pages_);
}

ShiftReportPreview::~ShiftReportPreview() = default;

void ShiftReportPreview::particularsEdited()
{
    ShiftReport::Particulars particulars = report_->particulars();
    if (particulars.worker == workerEdit_->text() && particulars.site == siteEdit_->text() &&
        particulars.job == jobEdit_->text())
        return;
    particulars.worker = workerEdit_->text();
    particulars.site = siteEdit_->text();
    particulars.job = jobEdit_->text();
    report_->setParticulars(particulars);
    pages_->updatePreview();
}

void ShiftReportPreview::printReport()
{
    particularsEdited();
    if (!dialogs_.print(this, *printer_))
        return;
    if (report_->paint(*printer_) == 0)
        dialogs_.inform(this, tr("The report could not be printed."), Dialogs::Icon::Critical);
}

void ShiftReportPreview::exportPdf()
{
    particularsEdited();
    const QString path =
        dialogs_.saveFileName(this, tr("Export PDF"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (const QString problem = report_->writePdf(path); !problem.isEmpty())
        dialogs_.inform(this,
                        tr("%1 could not be written: %2.").arg(QFileInfo(path).fileName(), problem),
                        Dialogs::Icon::Critical);
}
