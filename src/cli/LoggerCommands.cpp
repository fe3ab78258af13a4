#include "cli/Cli.h"

#include <QTextStream>

// Placeholder until the logger commands land.
namespace cli {
static int notYet(QTextStream &err)
{
    err << "not available yet\n";
    return kFailed;
}
int download(Context &c, const QStringList &) { return notYet(c.err); }
int erase(Context &c, const QStringList &) { return notYet(c.err); }
int setId(Context &c, const QStringList &) { return notYet(c.err); }
int setInterval(Context &c, const QStringList &) { return notYet(c.err); }
int convert(QTextStream &, QTextStream &err, const QStringList &) { return notYet(err); }
}  // namespace cli
