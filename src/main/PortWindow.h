#pragma once

// The first window: "COM Port", where the user picks the meter's port.

#include <QWidget>

class QComboBox;
class QPushButton;

class PortWindow : public QWidget {
    Q_OBJECT
public:
    // lastPort: the port chosen in the previous run, offered first.
    explicit PortWindow(const QString &lastPort = {}, QWidget *parent = nullptr);

    QComboBox *portChoice_;
    QPushButton *okButton_;

signals:
    // The text of the list when OK was pressed.
    void portChosen(const QString &text);

private:
    void choosePort();
};
