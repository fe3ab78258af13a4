#pragma once

// The one way a dosemeter-cli command reads its words: the command states its options in
// a Grammar, and parseArguments() sorts the words into options, their values and the
// operands (the files), or says what is wrong with their shape. The command then checks
// the values themselves (a level, a range, a file), with its own messages.
//
//     const Grammar grammar{
//         QStringLiteral("weekly takes --lex8h L1,L2,... (1 to 7 days)"),
//         {{"--lex8h"}},
//     };
//     const Result<Arguments> parsed = parseArguments(grammar, args);
//     if (!parsed)
//         return failed(err, parsed.error());
//     const QString levels = parsed->value("--lex8h");
//
// The same tables give the options that the bash completion offers for each command.

#include "link/Error.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace cli {

// One option of a command.
struct Option {
    enum class Takes {
        Nothing, // a switch: --overwrite
        Value,   // the next word: --out FILE
        Words,   // every word up to the next option: --files A.dat B.dat
    };
    enum class Repeats {
        Refused, // a second one is a usage error ("--shift is given twice")
        Allowed, // each one is kept: --exclude A --exclude B; value() gives the last
    };
    const char *name;
    Takes takes = Takes::Value;
    Repeats repeats = Repeats::Refused;
    // What a missing value is called, in place of "--x needs a value"; where it is given, a
    // blank value is a missing one.
    const char *noValueText = nullptr;
};

// The shape of a command's words and how a wrong one is said.
struct Grammar {
    // "record takes --out FILE.dat ...": follows a message where `usageAfter` says so, and
    // is the whole message where `usageOnly` is set.
    QString usage;
    QList<Option> options;
    // How many words that are no option the command takes (its files, its strategy);
    // -1 for any number. A word beginning with "--" is never one.
    int operands = 0;
    // Said for an operand beyond `operands`; "%1" is the word.
    QString extraOperandText = QStringLiteral("unknown argument '%1'");

    // The problems of shape, for `usageAfter`.
    enum Problem : unsigned {
        Unknown = 1,
        NoValue = 2,
        Twice = 4,
        ExtraOperand = 8,
    };
    // Whose message ends with "; " and the usage.
    unsigned usageAfter = 0;
    // Every problem of shape is said by the usage alone.
    bool usageOnly = false;
    // An unknown word beginning with "--" is an "unknown option" here; otherwise an
    // "unknown argument".
    bool unknownOption = false;
    // A repeated option is refused before its missing value is.
    bool twiceBeforeValue = false;
};

// The words of a command, sorted.
class Arguments {
public:
    // One option as it was given, with its words (none for a switch, one for a value).
    struct Given {
        QString name;
        QStringList words;
    };

    bool has(const char *name) const;
    // The value of the last one given, or a null text.
    QString value(const char *name) const;
    std::optional<QString> optional(const char *name) const;
    // The words of every one given, in order.
    QStringList values(const char *name) const;
    // The options in the order given.
    const QList<Given> &given() const { return given_; }
    const QStringList &operands() const { return operands_; }

private:
    friend Result<Arguments> parseArguments(const Grammar &grammar, const QStringList &args);
    QList<Given> given_;
    QStringList operands_;
};

Result<Arguments> parseArguments(const Grammar &grammar, const QStringList &args);

// A usage error of `text`: a wrong option, value or shape of the words.
inline Error usageError(const QString &text)
{
    return Error(ErrorKind::Usage, text);
}

// Says a usage error as every command does, "dosemeter-cli: TEXT", and gives exit 2. (An
// Error, parsed.error() among them, is said by cli::failed().)
int wrongArguments(QTextStream &err, const QString &problem);

} // namespace cli
