#include "cli/OutputFiles.h"

#include "cli/Cli.h"
#include "data/RecordingFile.h"
#include "data/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>

namespace cli {

namespace {

const QRegularExpression &setFileName()
{
    static const QRegularExpression name(QStringLiteral("^set-(\\d{1,9})\\.dat$"));
    return name;
}

} // namespace

int checkNewFile(QTextStream &err, const QString &path, bool overwrite)
{
    if (path.isEmpty()) {
        err << "dosemeter-cli: --out needs a file name\n";
        return Exit::kUsage;
    }
    switch (RegularFile::kindAt(path)) {
    case RegularFile::Kind::Other:
        err << "dosemeter-cli: cannot write " << path << ": "
            << (QFileInfo(path).isDir() ? QStringLiteral("it is a folder, not a regular file")
                                        : RegularFile::kNotRegular)
            << "\n";
        return Exit::kFailed;
    case RegularFile::Kind::Regular:
        if (!overwrite) {
            err << "dosemeter-cli: " << path
                << " exists; give --overwrite to replace it, or another name\n";
            return Exit::kUsage;
        }
        break;
    case RegularFile::Kind::Nothing:
        break;
    }
    if (const QString error = RecordingFile::checkWritable(path); !error.isEmpty()) {
        err << "dosemeter-cli: cannot write " << path << ": " << error << "\n";
        return error == RegularFile::kNotRegular ? Exit::kFailed : Exit::kUsage;
    }
    return Exit::kOk;
}

QStringList setFiles(const QString &folder)
{
    QList<std::pair<qint64, QString>> found;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::System)) {
        const QRegularExpressionMatch match = setFileName().match(name);
        if (match.hasMatch())
            found.append({match.captured(1).toLongLong(), name});
    }
    std::sort(found.begin(), found.end());
    QStringList names;
    for (const auto &file : found)
        names << file.second;
    return names;
}

int checkDownloadFolder(QTextStream &err, const QString &folder, bool overwrite)
{
    if (folder.isEmpty()) {
        err << "dosemeter-cli: --out needs a folder name\n";
        return Exit::kUsage;
    }
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        err << "dosemeter-cli: cannot write into " << folder << ": it is not a folder\n";
        return Exit::kFailed;
    }
    const QStringList earlier = info.exists() ? setFiles(folder) : QStringList();
    if (!earlier.isEmpty() && !overwrite) {
        err << "dosemeter-cli: " << folder << " holds the set files of an earlier download ("
            << earlier.join(QStringLiteral(", "))
            << "); give --overwrite to replace them, or another folder\n";
        return Exit::kUsage;
    }
    return Exit::kOk;
}

} // namespace cli
