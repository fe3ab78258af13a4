#pragma once

// The print preview of a window's image (WindowImage): a preview window, not modal and
// deleted when closed, that shows the page as "Print" would print it and can print it too.

class QPrintPreviewDialog;
class QWidget;

namespace ImagePreview {

// Previews the image of `widget` as it shows when the page is drawn; `window` owns the
// preview.
QPrintPreviewDialog *open(QWidget *window, QWidget *widget);

} // namespace ImagePreview
