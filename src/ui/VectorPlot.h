#pragma once

// A QCustomPlot that stays vector graphics off screen. On screen QCustomPlot shows its
// cached raster buffers; rendered into a QPicture, a printer or a PDF (a window's image,
// WindowImage) it draws its axes, labels and lines again as drawing commands, so a printed
// or exported graph keeps sharp lines and text that can be searched and copied.

#include <qcustomplot.h>

class VectorPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit VectorPlot(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
