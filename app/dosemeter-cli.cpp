#include "cli/Cli.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dosemeter-cli"));
    return cli::run(QCoreApplication::arguments().mid(1));
}
