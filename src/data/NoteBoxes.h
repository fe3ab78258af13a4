#pragma once

// The three note lines note1_, note2_, note3_ under a record grid: free text saved and printed with
// the grid. Commas and TABs are dropped as they are typed or pasted (they would split the note when
// the file is read back).

#include <QObject>
#include <QStringList>

class QBoxLayout;
class QLineEdit;
class QWidget;

class NoteBoxes : public QObject {
    Q_OBJECT
public:
    // The boxes are children of `window`; `what` says what the notes go with ("the
    // samples", "the records") for screen readers.
    NoteBoxes(QWidget *window, const QString &what);

    QStringList notes() const;
    // Notes as read from a file (cleaned as if typed).
    void setNotes(const QStringList &notes);
    // Adds the three boxes one under the other.
    void addTo(QBoxLayout *layout) const;

    QLineEdit *note1_ = nullptr;
    QLineEdit *note2_ = nullptr;
    QLineEdit *note3_ = nullptr;

private:
    static void filter(QLineEdit *note);
};
