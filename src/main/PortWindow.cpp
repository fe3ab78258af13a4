#include "main/PortWindow.h"

#include "link/PortNames.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PortWindow::PortWindow(const QString &lastPort, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PortWindow"));
    setWindowTitle(tr("COM Port"));

    portChoice_ = new QComboBox(this);
    portChoice_->setObjectName(QStringLiteral("portChoice"));
    portChoice_->setEditable(true);
    QStringList entries = portListEntries();
    if (!lastPort.isEmpty()) {
        entries.removeAll(lastPort);
        entries.prepend(lastPort);
    }
    portChoice_->addItems(entries);
    portChoice_->setCurrentText(lastPort.isEmpty() ? QStringLiteral("COM1") : lastPort);
    portChoice_->setMinimumContentsLength(14);
    portChoice_->setToolTip(tr("COM1..COM8, Auto, Simulator, a detected port, "
                               "or type a device path such as /dev/pts/3"));

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    okButton_->setAutoDefault(true);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(16, 16, 16, 16);
    row->setSpacing(10);
    row->addWidget(portChoice_, 1);
    row->addWidget(okButton_);

    connect(okButton_, &QPushButton::clicked, this, &PortWindow::choosePort);
    connect(portChoice_->lineEdit(), &QLineEdit::returnPressed, this, &PortWindow::choosePort);
}

void PortWindow::choosePort()
{
    okButton_->setEnabled(false);
    emit portChosen(portChoice_->currentText());
}
