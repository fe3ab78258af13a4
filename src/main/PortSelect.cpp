#include "main/PortSelect.h"

#include "link/PortNames.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PortSelect::PortSelect(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PortSelect"));
    setWindowTitle(QStringLiteral("COM Port"));

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->addItems(portListEntries());
    Combo1->setCurrentText(QStringLiteral("COM1"));
    Combo1->setMinimumContentsLength(14);
    Combo1->setToolTip(QStringLiteral("COM1..COM8, Auto, Simulator, a detected port, "
                                      "or type a device path such as /dev/pts/3"));

    CmdOK = new QPushButton(QStringLiteral("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setDefault(true);
    CmdOK->setAutoDefault(true);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(16, 16, 16, 16);
    row->setSpacing(10);
    row->addWidget(Combo1, 1);
    row->addWidget(CmdOK);

    connect(CmdOK, &QPushButton::clicked, this, &PortSelect::CmdOK_Click);
    connect(Combo1->lineEdit(), &QLineEdit::returnPressed, this, &PortSelect::CmdOK_Click);
}

void PortSelect::CmdOK_Click()
{
    CmdOK->setEnabled(false);
    emit portChosen(Combo1->currentText());
}
