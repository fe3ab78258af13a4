#include "analysis/ImagePreview.h"

#include "ui/ReadablePreview.h"
#include "ui/WindowImage.h"

#include <QPainter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <memory>

namespace ImagePreview {

QPrintPreviewDialog *open(QWidget *window, QWidget *widget)
{
    // At screen resolution, as printing does, so the page looks the same in both.
    auto printer = std::make_shared<QPrinter>(QPrinter::ScreenResolution);
    printer->setDocName(window ? window->windowTitle() : QString());
    auto *dialog = new QPrintPreviewDialog(printer.get(), window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("PrintPreview"));
    // The connection keeps the printer for as long as the dialog lives.
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [printer, image = QPointer<QWidget>(widget)](QPrinter *target) {
                         if (!image)
                             return;
                         QPainter painter(target);
                         WindowImage::paint(painter, *target, WindowImage::picture(image));
                     });
    ReadablePreview::apply(dialog);
    dialog->open();
    return dialog;
}

} // namespace ImagePreview
