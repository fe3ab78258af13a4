#pragma once

// The A-weighted level under a hearing protector L', by every method a regulator accepts,
// side by side, and whether the protector is enough and not too much:
// - ISO 4869-2 SNR: L' = LC - SNR;
// - ISO 4869-2 HML: d = LC - LA; PNR = M - (H - M)(d - 2)/4 when d <= 2, else
//   M - (M - L)(d - 2)/8; L' = LA - PNR;
// - ISO 4869-2 octave band: L' = 10 lg sum 10^(0.1 (Lf + Af - APVf)) over 63 .. 8000 Hz;
// - OSHA (29 CFR 1910.95 App. B): LC - NRR, or LA - (NRR - 7) without LC;
// - OSHA field (50 % derating): LC - NRR/2, or LA - (NRR - 7)/2;
// - NIOSH by protector type: NRR' = NRR x 0.75 (earmuff), x 0.5 (formable earplug),
//   x 0.3 (other earplugs), then LC - NRR', or LA - (NRR' - 7).
// A method that needs LC (SNR, HML) or the band levels (octave) and lacks them is not
// computed and says what it needs: LC is never assumed from LA. The real-world allowance
// (dB) is added to the ISO 4869-2 results only; two protectors worn together give the
// better one's L' less a further 5 dB; a protector worn for a share p of the time gives
// L'EX = 10 lg(p 10^(0.1 L') + (1 - p) 10^(0.1 LA)). Every level in dB, figures from
// unrounded intermediates; the ISO 4869-2 results are also rounded to the whole dB,
// halves up. The adequacy (EN 458) is judged on L' to 0.1 dB, as it is shown.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class HearingProtection {
public:
    // In the order the figures are given.
    enum class Method { Snr, Hml, Octave, Osha, OshaField, Niosh };
    enum class ProtectorType { Earmuff, FormableEarplug, OtherEarplug, CanalCap, CustomMoulded };
    enum class Adequacy { Insufficient, Acceptable, Good, TooHigh };

    struct Hml {
        double hDb = 0.0;
        double mDb = 0.0;
        double lDb = 0.0;
    };

    // A protector's ratings, each optional: a method runs for the ratings given.
    struct Protector {
        std::optional<double> snrDb;
        std::optional<Hml> hml;
        QList<double> apvDb; // the assumed protection values, 63 .. 8000 Hz; empty if unknown
        std::optional<double> nrrDb;
        std::optional<ProtectorType> type; // the NIOSH method needs it
    };

    struct Input {
        double laDb = 0.0;          // LEX,8h, LAeq or TWA, 0 .. 140 dB
        std::optional<double> lcDb; // the C-weighted level, 0 .. 140 dB, when measured
        QList<double> bandLevelsDb; // the octave band levels, 63 .. 8000 Hz; empty if unknown
        // One protector, or the two worn together (earplug and earmuff).
        QList<Protector> protectors;
        // With one protector: it is worn with a second one that is not rated here (its
        // ratings are the better of the two). Two protectors are always worn together.
        bool dual = false;
        double realWorldDb = 0.0;   // 0 .. 20 dB; the UK HSE's guidance uses 4
        double wearPercent = 100.0; // 0 .. 100 % of the exposure
        double actionLevelDb = kDefaultActionLevelDb;
    };

    struct Figures {
        Method method = Method::Snr;
        // What the method lacks ("LC", "the octave band levels"); empty when computed.
        QString missing;
        bool computed() const { return missing.isEmpty(); }
        double pnrDb = 0.0;       // HML only
        double protectedDb = 0.0; // L' with the allowance, the second protector and wear
        int roundedDb = 0;        // ISO 4869-2 methods only
        Adequacy adequacy = Adequacy::Insufficient;
    };

    // A plain value: the `dosemeter-cli protect` lines and the figures of the window and
    // the report.
    struct Result {
        QString message; // why the input is refused; empty when it is not
        bool ok() const { return message.isEmpty(); }

        // One per method whose ratings were given, in the order of Method.
        QList<Figures> methods;
        double realWorldDb = 0.0;
        bool dual = false;
        // Whether at least one method has its inputs.
        bool anyComputed() const;

        // "real-world: 4.0" and "dual: 5.0" when used, then per method
        // "NAME.pnr: X" (hml), "NAME.protected: X", "NAME.rounded: N" (ISO 4869-2),
        // "NAME.adequacy: TEXT"; a method lacking its inputs gives "NAME.protected: "
        // only and an "advisory: NAME needs WHAT" line at the end.
        QStringList lines() const;
        QString text() const;
    };

    static Result compute(const Input &input);

    // The EN 458 band of a protected level against the action level Lact.
    static Adequacy adequacy(double protectedDb, double actionLevelDb);
    static QString adequacyText(Adequacy adequacy);

    // NRR' / NRR for a protector type: 0.75, 0.5 or 0.3 (canal caps and custom-moulded
    // earplugs count as other earplugs).
    static double nioshFactor(ProtectorType type);

    // Names as the command line prints and takes them: "snr", "hml", "octave", "osha",
    // "osha-field", "niosh"; "earmuff", "formable", "other", "canal-cap", "custom-moulded".
    static QString methodName(Method method);
    static QString typeName(ProtectorType type);
    static std::optional<ProtectorType> typeFromName(const QString &name);

    static constexpr int kBands = 8; // 63, 125, 250, 500, 1000, 2000, 4000, 8000 Hz
    static constexpr double kDefaultActionLevelDb = 80.0;
    static constexpr double kMaxLevelDb = 140.0;
    static constexpr double kMaxRatingDb = 60.0;
    static constexpr double kMinApvDb = -20.0;
    static constexpr double kMaxRealWorldDb = 20.0;
    // What wearing a second protector adds (OSHA's rule for dual protection).
    static constexpr double kDualDb = 5.0;
};
