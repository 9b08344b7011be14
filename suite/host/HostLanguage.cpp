#include "suite/host/HostLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace suite {

bool HostLanguage::apply()
{
    const QLocale spanish(QLocale::Spanish, QLocale::Mexico);
    QLocale::setDefault(spanish);

    // Debian's qt6-translations-l10n ships qtbase_es.qm.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(spanish, u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        std::fputs("talvexor: no se encontraron las traducciones de Qt al español (paquete qt6-translations-l10n); "
                   "sus diálogos se verán en inglés.\n",
                   stderr);
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace suite
