#pragma once

// The arguments `assess` and `report` share: FILE... [--criteria LIST] [--shift HOURS]
// [--exclude FILE:A-B:REASON]... [--exclude-overloads REASON] [--suggest], checked and
// with the files read. --exclude-overloads adds a span per run of overload records, after
// the spans of --exclude.

#include "cli/CommandLine.h"

#include "analysis/ExposureAssessment.h"
#include "analysis/Iso9612.h"
#include "data/DatFile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace cli {

struct AssessRequest {
    QStringList paths;
    QList<DatFile::Content> files; // in the order of paths
    ExposureAssessment assessment; // the files' records, a list each
    ExposureAssessment::Inputs inputs;
};

// Reads the parsed words of assess's grammar (or report's, which holds it) into `request`. kOk, or
// the exit status after saying why on `err`: kUsage for a wrong argument (`usage` follows the
// message where the form is wrong), kFailed for a file that cannot be read.
int readAssessRequest(QTextStream &err, const Arguments &arguments, const QString &usage,
                      AssessRequest &request);

// Whether `name` is one of the ISO 9612 options readIsoInput() reads.
bool isIsoOption(const QString &name);

// The ISO 9612 input of the parsed words of iso9612's grammar (or report's) for
// `strategy`: --task, --samples, --files, --te and --instrument, checked, with the LAeq of
// each file of --files. kOk, or the exit status after saying why on `err` (kUsage, or
// kFailed / kNoAnswer for a file that cannot be read or holds no levels).
int readIsoInput(QTextStream &err, Iso9612::Strategy strategy, const Arguments &parsed,
                 const QString &usage, Iso9612::Input &input);

// A decimal number argument; nothing for another text or an infinite value.
std::optional<double> decimalArgument(const QString &text);

} // namespace cli
