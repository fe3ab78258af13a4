#include "data/NoteBoxes.h"

#include "data/DatFile.h"
#include "ui/MeterWindow.h"

#include <QBoxLayout>
#include <QLineEdit>

NoteBoxes::NoteBoxes(QWidget *window, const QString &what) : QObject(window)
{
    const char *names[] = {"T1", "T2", "T3"};
    QLineEdit **boxes[] = {&T1, &T2, &T3};
    for (int i = 0; i < 3; ++i) {
        auto *box = new QLineEdit(window);
        const QString placeholder = QStringLiteral("Note %1").arg(i + 1);
        box->setPlaceholderText(placeholder);
        MeterWindow::named(box, names[i], placeholder,
                           QStringLiteral("A note saved and printed with %1").arg(what));
        connect(box, &QLineEdit::textEdited, this, [box] { filter(box); });
        *boxes[i] = box;
    }
}

QStringList NoteBoxes::notes() const
{
    return {T1->text(), T2->text(), T3->text()};
}

void NoteBoxes::setNotes(const QStringList &notes)
{
    T1->setText(DatFile::cleanNote(notes.value(0)));
    T2->setText(DatFile::cleanNote(notes.value(1)));
    T3->setText(DatFile::cleanNote(notes.value(2)));
}

void NoteBoxes::addTo(QBoxLayout *layout) const
{
    layout->addWidget(T1);
    layout->addWidget(T2);
    layout->addWidget(T3);
}

void NoteBoxes::filter(QLineEdit *note)
{
    const QString text = note->text();
    const QString clean = DatFile::cleanNote(text);
    if (clean == text)
        return;
    const int cursor = int(DatFile::cleanNote(text.left(note->cursorPosition())).size());
    note->setText(clean);
    note->setCursorPosition(cursor);
}
