#include "ui/ReadablePreview.h"

#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>

#include <algorithm>

namespace ReadablePreview {

void apply(QWidget *window, QPrintPreviewWidget *preview)
{
    if (!window)
        return;
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect available = screen->availableGeometry();
        const int height = std::max(available.height() * 7 / 10, std::min(available.height(), 800));
        // A page is about 1 : 1.41; room beside it for the scroll bar and the frame.
        const int width = std::min(available.width(), height * 10 / 13 + 80);
        window->resize(width, std::min(height, available.height()));
    }
    if (preview) {
        preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
        preview->fitToWidth();
    }
}

void apply(QPrintPreviewDialog *dialog)
{
    if (dialog)
        apply(dialog, dialog->findChild<QPrintPreviewWidget *>());
}

} // namespace ReadablePreview
