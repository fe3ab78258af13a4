#include "config/ExposureStandards.h"
#include "support/TestMain.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kLibrary = QStringLiteral("/usr/share/bash-completion/bash_completion");

} // namespace

// The bash completion of dosemeter-cli: what a TAB offers after a given command line.
class TestCompletion : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        if (!QFileInfo::exists(kLibrary))
            QSKIP("bash-completion is not installed");
    }

    void offers_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("offered"); // candidates, space-separated, in order

        QTest::newRow("commands")
            << "dosemeter-cli "
            << "status display read write download erase set-id set-interval average setup "
               "standard banks record convert histogram stats twa";
        QTest::newRow("command-by-prefix") << "dosemeter-cli st"
                                           << "status standard stats";
        QTest::newRow("global-options") << "dosemeter-cli -"
                                        << "--port --timeout --help --version";
        QTest::newRow("port-by-prefix") << "dosemeter-cli --port s"
                                        << "sim";
        QTest::newRow("countries-by-prefix") << "dosemeter-cli --port sim standard U"
                                             << "U.K U.S.A";
        QTest::newRow("options-of-the-command")
            << "dosemeter-cli --port sim setup --"
            << "--criterion --threshold --exchange-rate --response --clock";
        QTest::newRow("values-of-an-option") << "dosemeter-cli --port sim setup --criterion "
                                             << "80 84 85 90";
        QTest::newRow("option-values-are-no-command")
            << "dosemeter-cli --timeout 5 --port sim download --"
            << "--out --verify --retries";
        QTest::newRow("options-after-a-file") << "dosemeter-cli stats shift.dat --"
                                              << "--criterion --exchange-rate --threshold";
        QTest::newRow("free-value-offers-nothing") << "dosemeter-cli --port sim set-id "
                                                   << "";
    }

    void offers()
    {
        QFETCH(QString, line);
        QFETCH(QString, offered);
        QCOMPARE(complete(line), offered);
    }

    // The countries are those of the exposure standards table, spelled as it spells them.
    void countriesOfTheStandardsTable()
    {
        QCOMPARE(complete(QStringLiteral("dosemeter-cli --port sim standard ")),
                 ExposureStandards::countries().join(QLatin1Char(' ')));
    }

private:
    // What the completion function leaves in COMPREPLY for `line`, the cursor at its end.
    QString complete(const QString &line)
    {
        const QString script = QStringLiteral("source \"$1\" && source \"$2\" || exit 9\n"
                                              "COMP_LINE=$3; COMP_POINT=${#COMP_LINE}\n"
                                              "read -ra COMP_WORDS <<<\"$COMP_LINE\"\n"
                                              "[[ $COMP_LINE == *' ' ]] && COMP_WORDS+=('')\n"
                                              "COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                                              "_dosemeter_cli\n"
                                              "echo \"${COMPREPLY[*]}\"\n");
        // In an empty folder, so that no file name is offered by chance.
        QTemporaryDir empty;
        QProcess bash;
        bash.setWorkingDirectory(empty.path());
        bash.start(QStringLiteral("bash"), {QStringLiteral("-c"), script, QStringLiteral("bash"),
                                            kLibrary, QStringLiteral(DOSEMETER_COMPLETION), line});
        if (!bash.waitForFinished(20000) || bash.exitCode() != 0)
            return QStringLiteral("(bash failed: %1)")
                .arg(QString::fromLocal8Bit(bash.readAllStandardError()));
        return QString::fromLocal8Bit(bash.readAllStandardOutput()).trimmed();
    }
};

DOSEMETER_TEST(TestCompletion)
#include "tst_Completion.moc"
