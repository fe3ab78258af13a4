#include "ui/Theme.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace Theme {

QString windowStyleSheet(const QString &extra)
{
    static const QString base = QStringLiteral(R"(
QMainWindow, QWidget[role="window"] { background: #eef1f4; }
QFrame[role="card"] { background: white; border: 1px solid #d5dbe1; border-radius: 6px; }
QLabel[role="caption"] { color: #5b6773; font-size: 9pt; }
QLabel[role="value"] { color: #1d2730; font-size: 12pt; font-weight: 600; }
QLabel[role="boxed"] { color: #1d2730; font-weight: 600; background: white;
                       border: 1px solid #d5dbe1; border-radius: 4px; padding: 3px 6px; }
QTableView { background: white; border: 1px solid #d5dbe1; border-radius: 6px;
             gridline-color: #e6eaee; selection-background-color: #2f7dd1; }
QHeaderView::section { background: #f4f6f8; color: #3c4854; border: none;
                       border-bottom: 1px solid #d5dbe1; border-right: 1px solid #e6eaee;
                       padding: 3px 6px; }
QPushButton { padding: 6px 14px; }
)");
    return base + extra;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setProperty("role", QStringLiteral("caption"));
    return label;
}

QLabel *value(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setProperty("role", QStringLiteral("value"));
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QFrame *card(const QString &text, QWidget *value)
{
    auto *frame = new QFrame;
    frame->setProperty("role", QStringLiteral("card"));
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->addWidget(caption(text));
    layout->addWidget(value);
    return frame;
}

} // namespace Theme
