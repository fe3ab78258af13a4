#include "analysis/HearingProtection.h"

#include "analysis/NumberText.h"
#include "link/Decibels.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

using Method = HearingProtection::Method;
using Protector = HearingProtection::Protector;

// The A-weighting of the octave bands 63 .. 8000 Hz, as ISO 4869-2 tabulates it.
constexpr double kAWeightingDb[HearingProtection::kBands] = {-26.2, -16.1, -8.6, -3.2,
                                                             0.0,   1.2,   1.0,  -1.1};
// What the NRR methods take off the NRR when only the A-weighted level is known.
constexpr double kCToADb = 7.0;
// Figures typed to a tenth reach a half only to within rounding errors of the sums.
constexpr double kHalfTolerance = 1e-9;

constexpr Method kMethods[] = {Method::Snr,  Method::Hml,       Method::Octave,
                               Method::Osha, Method::OshaField, Method::Niosh};

bool isIso(Method method)
{
    return method == Method::Snr || method == Method::Hml || method == Method::Octave;
}

bool rates(const Protector &protector, Method method)
{
    switch (method) {
    case Method::Snr:
        return protector.snrDb.has_value();
    case Method::Hml:
        return protector.hml.has_value();
    case Method::Octave:
        return !protector.apvDb.isEmpty();
    case Method::Osha:
    case Method::OshaField:
        return protector.nrrDb.has_value();
    case Method::Niosh:
        break;
    }
    return protector.nrrDb.has_value() && protector.type.has_value();
}

QString tr(const char *text)
{
    return QCoreApplication::translate("HearingProtection", text);
}

QString outside(const char *pattern, double value)
{
    return tr(pattern).arg(trimmedNumberText(value, 3));
}

bool within(double value, double low, double high)
{
    return value >= low && value <= high;
}

QString levelProblem(const HearingProtection::Input &input)
{
    constexpr double top = HearingProtection::kMaxLevelDb;
    if (!within(input.laDb, 0.0, top))
        return outside(
            QT_TRANSLATE_NOOP("HearingProtection", "An LA of %1 dB is outside 0 to 140 dB."),
            input.laDb);
    if (input.lcDb && !within(*input.lcDb, 0.0, top))
        return outside(
            QT_TRANSLATE_NOOP("HearingProtection", "An LC of %1 dB is outside 0 to 140 dB."),
            *input.lcDb);
    if (!input.bandLevelsDb.isEmpty() && input.bandLevelsDb.size() != HearingProtection::kBands)
        return tr(QT_TRANSLATE_NOOP("HearingProtection",
                                    "The octave band levels are 8, 63 to 8000 Hz; %1 given."))
            .arg(input.bandLevelsDb.size());
    for (double level : input.bandLevelsDb) {
        if (!within(level, 0.0, top))
            return outside(QT_TRANSLATE_NOOP("HearingProtection",
                                             "An octave band level of %1 dB is outside 0 to "
                                             "140 dB."),
                           level);
    }
    return QString();
}

QString ratingProblem(const Protector &protector)
{
    constexpr double top = HearingProtection::kMaxRatingDb;
    if (protector.snrDb && !within(*protector.snrDb, 0.0, top))
        return outside(
            QT_TRANSLATE_NOOP("HearingProtection", "An SNR of %1 dB is outside 0 to 60 dB."),
            *protector.snrDb);
    if (protector.hml) {
        for (double value : {protector.hml->hDb, protector.hml->mDb, protector.hml->lDb}) {
            if (!within(value, 0.0, top))
                return outside(QT_TRANSLATE_NOOP("HearingProtection",
                                                 "An H, M or L of %1 dB is outside 0 to 60 dB."),
                               value);
        }
    }
    if (protector.nrrDb && !within(*protector.nrrDb, 0.0, top))
        return outside(
            QT_TRANSLATE_NOOP("HearingProtection", "An NRR of %1 dB is outside 0 to 60 dB."),
            *protector.nrrDb);
    if (!protector.apvDb.isEmpty() && protector.apvDb.size() != HearingProtection::kBands)
        return tr(QT_TRANSLATE_NOOP("HearingProtection", "The assumed protection values are 8, "
                                                         "63 to 8000 Hz; %1 given."))
            .arg(protector.apvDb.size());
    for (double value : protector.apvDb) {
        // A band's mean attenuation less its spread may fall below nothing at 63 Hz.
        if (!within(value, HearingProtection::kMinApvDb, top))
            return outside(QT_TRANSLATE_NOOP("HearingProtection",
                                             "An assumed protection value of %1 dB is outside "
                                             "-20 to 60 dB."),
                           value);
    }
    return QString();
}

QString inputProblem(const HearingProtection::Input &input)
{
    if (const QString problem = levelProblem(input); !problem.isEmpty())
        return problem;
    if (input.protectors.isEmpty())
        return tr(QT_TRANSLATE_NOOP("HearingProtection", "No protector rating is given."));
    if (input.protectors.size() > 2)
        return tr(QT_TRANSLATE_NOOP("HearingProtection",
                                    "At most two protectors are worn together; %1 given."))
            .arg(input.protectors.size());
    for (const Protector &protector : input.protectors) {
        if (const QString problem = ratingProblem(protector); !problem.isEmpty())
            return problem;
    }
    if (!within(input.realWorldDb, 0.0, HearingProtection::kMaxRealWorldDb))
        return outside(QT_TRANSLATE_NOOP("HearingProtection",
                                         "A real-world allowance of %1 dB is outside 0 to 20 dB."),
                       input.realWorldDb);
    if (!within(input.wearPercent, 0.0, 100.0))
        return outside(
            QT_TRANSLATE_NOOP("HearingProtection", "A wear time of %1 % is outside 0 to 100 %."),
            input.wearPercent);
    if (!within(input.actionLevelDb, 0.0, HearingProtection::kMaxLevelDb))
        return outside(QT_TRANSLATE_NOOP("HearingProtection",
                                         "An action level of %1 dB is outside 0 to 140 dB."),
                       input.actionLevelDb);
    return QString();
}

// What a method needs besides the protector's rating and LA; empty when it is there.
QString missingInput(const HearingProtection::Input &input, Method method)
{
    if ((method == Method::Snr || method == Method::Hml) && !input.lcDb)
        return QStringLiteral("LC");
    if (method == Method::Octave && input.bandLevelsDb.isEmpty())
        return QStringLiteral("the octave band levels");
    return QString();
}

// NRR' subtracted from LC, or NRR' - 7 from LA when there is no LC (App. B and NIOSH).
double fromNrr(const HearingProtection::Input &input, double derated)
{
    return input.lcDb ? *input.lcDb - derated : input.laDb - (derated - kCToADb);
}

// L' of one protector by one method, before the allowance, a second protector and wear
// time; `pnrDb` is set for HML.
double protectedLevel(const HearingProtection::Input &input, const Protector &protector,
                      Method method, double &pnrDb)
{
    switch (method) {
    case Method::Snr:
        return *input.lcDb - *protector.snrDb;
    case Method::Hml: {
        const HearingProtection::Hml &hml = *protector.hml;
        const double d = *input.lcDb - input.laDb;
        pnrDb = d <= 2.0 ? hml.mDb - (hml.hDb - hml.mDb) * (d - 2.0) / 4.0
                         : hml.mDb - (hml.mDb - hml.lDb) * (d - 2.0) / 8.0;
        return input.laDb - pnrDb;
    }
    case Method::Octave: {
        double energy = 0.0;
        for (int band = 0; band < HearingProtection::kBands; ++band)
            energy += Decibels::energy(input.bandLevelsDb.at(band) + kAWeightingDb[band] -
                                       protector.apvDb.at(band));
        return Decibels::level(energy);
    }
    case Method::Osha:
        return fromNrr(input, *protector.nrrDb);
    case Method::OshaField:
        // Half of what App. B credits, with LC or without: the 7 dB come off before halving.
        return input.lcDb ? *input.lcDb - *protector.nrrDb / 2.0
                          : input.laDb - (*protector.nrrDb - kCToADb) / 2.0;
    case Method::Niosh:
        break;
    }
    return fromNrr(input, *protector.nrrDb * HearingProtection::nioshFactor(*protector.type));
}

HearingProtection::Figures methodFigures(const HearingProtection::Input &input, Method method,
                                         bool dual)
{
    HearingProtection::Figures figures;
    figures.method = method;
    figures.missing = missingInput(input, method);
    if (!figures.computed())
        return figures;
    // Of two protectors worn together, the one that protects better by this method counts.
    std::optional<double> best;
    for (const Protector &protector : input.protectors) {
        if (!rates(protector, method))
            continue;
        double pnr = 0.0;
        const double level = protectedLevel(input, protector, method, pnr);
        if (!best || level < *best) {
            best = level;
            figures.pnrDb = pnr;
        }
    }
    double level = *best;
    if (isIso(method))
        level += input.realWorldDb;
    if (dual)
        level -= HearingProtection::kDualDb;
    const double worn = input.wearPercent / 100.0;
    if (worn < 1.0)
        level = Decibels::level(worn * Decibels::energy(level) +
                                (1.0 - worn) * Decibels::energy(input.laDb));
    figures.protectedDb = level;
    figures.roundedDb = int(std::floor(level + 0.5 + kHalfTolerance));
    figures.adequacy = HearingProtection::adequacy(level, input.actionLevelDb);
    return figures;
}

} // namespace

HearingProtection::Result HearingProtection::compute(const Input &input)
{
    Result result;
    result.message = inputProblem(input);
    if (!result.ok())
        return result;
    result.realWorldDb = input.realWorldDb;
    result.dual = input.dual || input.protectors.size() == 2;
    for (Method method : kMethods) {
        const bool rated =
            std::any_of(input.protectors.begin(), input.protectors.end(),
                        [method](const Protector &protector) { return rates(protector, method); });
        if (rated)
            result.methods.append(methodFigures(input, method, result.dual));
    }
    return result;
}

HearingProtection::Adequacy HearingProtection::adequacy(double protectedDb, double actionLevelDb)
{
    // In tenths of a dB, as the level is shown, so that 75.0 is never judged as 75.04.
    const qint64 level = std::llround(protectedDb * 10.0);
    const qint64 action = std::llround(actionLevelDb * 10.0);
    if (level > action)
        return Adequacy::Insufficient;
    if (level > action - 50)
        return Adequacy::Acceptable;
    if (level > action - 100)
        return Adequacy::Good;
    if (level >= action - 150)
        return Adequacy::Acceptable;
    return Adequacy::TooHigh;
}

QString HearingProtection::adequacyText(Adequacy adequacy)
{
    switch (adequacy) {
    case Adequacy::Insufficient:
        return QStringLiteral("insufficient");
    case Adequacy::Acceptable:
        return QStringLiteral("acceptable");
    case Adequacy::Good:
        return QStringLiteral("good");
    case Adequacy::TooHigh:
        break;
    }
    return QStringLiteral("too high (over-protection)");
}

double HearingProtection::nioshFactor(ProtectorType type)
{
    switch (type) {
    case ProtectorType::Earmuff:
        return 0.75;
    case ProtectorType::FormableEarplug:
        return 0.5;
    case ProtectorType::OtherEarplug:
    case ProtectorType::CanalCap:
    case ProtectorType::CustomMoulded:
        break;
    }
    return 0.3;
}

QString HearingProtection::methodName(Method method)
{
    switch (method) {
    case Method::Snr:
        return QStringLiteral("snr");
    case Method::Hml:
        return QStringLiteral("hml");
    case Method::Octave:
        return QStringLiteral("octave");
    case Method::Osha:
        return QStringLiteral("osha");
    case Method::OshaField:
        return QStringLiteral("osha-field");
    case Method::Niosh:
        break;
    }
    return QStringLiteral("niosh");
}

QString HearingProtection::typeName(ProtectorType type)
{
    switch (type) {
    case ProtectorType::Earmuff:
        return QStringLiteral("earmuff");
    case ProtectorType::FormableEarplug:
        return QStringLiteral("formable");
    case ProtectorType::OtherEarplug:
        return QStringLiteral("other");
    case ProtectorType::CanalCap:
        return QStringLiteral("canal-cap");
    case ProtectorType::CustomMoulded:
        break;
    }
    return QStringLiteral("custom-moulded");
}

std::optional<HearingProtection::ProtectorType> HearingProtection::typeFromName(const QString &name)
{
    for (ProtectorType type :
         {ProtectorType::Earmuff, ProtectorType::FormableEarplug, ProtectorType::OtherEarplug,
          ProtectorType::CanalCap, ProtectorType::CustomMoulded}) {
        if (typeName(type) == name)
            return type;
    }
    return std::nullopt;
}

bool HearingProtection::Result::anyComputed() const
{
    return std::any_of(methods.begin(), methods.end(),
                       [](const Figures &figures) { return figures.computed(); });
}

QStringList HearingProtection::Result::lines() const
{
    QStringList lines;
    if (!ok())
        return lines;
    if (realWorldDb > 0.0)
        lines << QStringLiteral("real-world: ") + oneDecimalText(realWorldDb);
    if (dual)
        lines << QStringLiteral("dual: ") + oneDecimalText(kDualDb);
    QStringList advisories;
    for (const Figures &figures : methods) {
        const QString name = methodName(figures.method);
        if (!figures.computed()) {
            lines << name + QStringLiteral(".protected: ");
            advisories << QStringLiteral("advisory: %1 needs %2").arg(name, figures.missing);
            continue;
        }
        if (figures.method == Method::Hml)
            lines << name + QStringLiteral(".pnr: ") + oneDecimalText(figures.pnrDb);
        lines << name + QStringLiteral(".protected: ") + oneDecimalText(figures.protectedDb);
        if (isIso(figures.method))
            lines << name + QStringLiteral(".rounded: ") + QString::number(figures.roundedDb);
        lines << name + QStringLiteral(".adequacy: ") + adequacyText(figures.adequacy);
    }
    return lines + advisories;
}

QString HearingProtection::Result::text() const
{
    return lines().join(QLatin1Char('\n')) + QLatin1Char('\n');
}
