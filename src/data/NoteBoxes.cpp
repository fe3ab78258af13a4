#include "data/NoteBoxes.h"

#include "data/DatFile.h"
#include "ui/MeterWindow.h"

#include <QBoxLayout>
#include <QLineEdit>

NoteBoxes::NoteBoxes(QWidget *window, const QString &what) : QObject(window)
{
    const char *names[] = {"note1", "note2", "note3"};
    QLineEdit **boxes[] = {&note1_, &note2_, &note3_};
    for (int i = 0; i < 3; ++i) {
        auto *box = new QLineEdit(window);
        const QString placeholder = tr("Note %1").arg(i + 1);
        box->setPlaceholderText(placeholder);
        MeterWindow::named(box, names[i], placeholder,
                           tr("A note saved and printed with %1").arg(what));
        connect(box, &QLineEdit::textEdited, this, [box] { filter(box); });
        *boxes[i] = box;
    }
}

QStringList NoteBoxes::notes() const
{
    return {note1_->text(), note2_->text(), note3_->text()};
}

void NoteBoxes::setNotes(const QStringList &notes)
{
    note1_->setText(DatFile::cleanNote(notes.value(0)));
    note2_->setText(DatFile::cleanNote(notes.value(1)));
    note3_->setText(DatFile::cleanNote(notes.value(2)));
}

void NoteBoxes::addTo(QBoxLayout *layout) const
{
    layout->addWidget(note1_);
    layout->addWidget(note2_);
    layout->addWidget(note3_);
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
