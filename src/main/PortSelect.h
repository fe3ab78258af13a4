#pragma once

// The first window: "COM Port", where the user picks the meter's port.

#include <QWidget>

class QComboBox;
class QPushButton;

class PortSelect : public QWidget {
    Q_OBJECT
public:
    explicit PortSelect(QWidget *parent = nullptr);

    QComboBox *Combo1;
    QPushButton *CmdOK;

signals:
    // The text of the list when OK was pressed.
    void portChosen(const QString &text);

private:
    void CmdOK_Click();
};
