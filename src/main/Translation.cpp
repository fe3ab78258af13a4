#include "main/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QString Translation::chooseLanguage(const std::optional<QString> &option, const QLocale &locale)
{
    if (option)
        return *option;
    return locale.language() == QLocale::Portuguese ? QStringLiteral("pt_BR")
                                                    : QStringLiteral("en");
}

bool Translation::install(QCoreApplication &application, const QString &language)
{
    if (language == QLatin1String("en"))
        return true;
    // Built into the program (translations/CMakeLists.txt), so that it runs from anywhere.
    auto *program = new QTranslator(&application);
    if (!program->load(QStringLiteral(":/i18n/dosemeter_%1.qm").arg(language))) {
        delete program;
        return false;
    }
    QCoreApplication::installTranslator(program);
    auto *qt = new QTranslator(&application);
    if (qt->load(QStringLiteral("qtbase_%1").arg(language),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return true;
}
