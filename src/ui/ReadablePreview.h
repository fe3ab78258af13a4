#pragma once

// Print previews open at a size a page can be read at: at least 70 % of the screen's
// height (the whole height where the screen is small), as wide as a page needs, the page
// fitted to the width.

class QPrintPreviewDialog;
class QPrintPreviewWidget;
class QWidget;

namespace ReadablePreview {

// Sizes `window` (a dialog holding `preview`) and fits the page to the width.
void apply(QWidget *window, QPrintPreviewWidget *preview);
// The same for a print preview dialog.
void apply(QPrintPreviewDialog *dialog);

} // namespace ReadablePreview
