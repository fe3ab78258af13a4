#include "ui/KeepInLibraryBox.h"

#include <QBoxLayout>
#include <QToolBar>

KeepInLibraryBox::KeepInLibraryBox(const QString &kind, QWidget *parent)
    : QCheckBox(tr("Keep in library"), parent), kind_(kind)
{
    setObjectName(QStringLiteral("keepInLibrary"));
    setChecked(true);
    setToolTip(tr("Also store what Save writes in the measurement library"));
}

KeepInLibraryBox *KeepInLibraryBox::addBeside(QToolBar *toolbar, QAction *save, const QString &kind)
{
    auto *box = new KeepInLibraryBox(kind, toolbar);
    const QList<QAction *> actions = toolbar->actions();
    const qsizetype at = actions.indexOf(save);
    toolbar->insertWidget(at >= 0 && at + 1 < actions.size() ? actions.at(at + 1) : nullptr, box);
    return box;
}

KeepInLibraryBox *KeepInLibraryBox::addBeside(QBoxLayout *layout, QWidget *save,
                                              const QString &kind)
{
    auto *box = new KeepInLibraryBox(kind, save->parentWidget());
    layout->insertWidget(layout->indexOf(save) + 1, box);
    return box;
}

void KeepInLibraryBox::fileSaved(const QString &path, const QString &meter)
{
    if (isChecked())
        emit keepRequested(path, kind_, meter);
}
