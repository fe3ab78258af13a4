#include "ui/VectorPlot.h"

#include <QPaintEngine>

VectorPlot::VectorPlot(QWidget *parent) : QCustomPlot(parent)
{
}

void VectorPlot::paintEvent(QPaintEvent *event)
{
    {
        QCPPainter painter(this);
        const QPaintEngine *engine = painter.paintEngine();
        const bool screen = !engine || engine->type() == QPaintEngine::Raster ||
                            engine->type() == QPaintEngine::OpenGL ||
                            engine->type() == QPaintEngine::OpenGL2;
        if (!screen) {
            // Cached label pixmaps would put raster text into the output.
            painter.setMode(QCPPainter::pmVectorized);
            painter.setMode(QCPPainter::pmNoCaching);
            toPainter(&painter, width(), height());
            return;
        }
    }
    QCustomPlot::paintEvent(event);
}
