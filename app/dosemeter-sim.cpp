// dosemeter-sim: a virtual dose meter on a pseudo-terminal (see src/sim/Simulator.h).

#include "sim/Simulator.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dosemeter-sim"));
    return Simulator::run(QCoreApplication::arguments());
}
