#include "qt_translations.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

QTranslator* InstallToolkitTranslation(const QLocale& locale) {
    // The form stays left to right, as it was drawn, whatever language the
    // toolkit speaks: a translation for a right-to-left language would
    // otherwise turn the whole program around.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    // Only the toolkit's base texts, and only for the user's language.
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return nullptr;
    }
    QCoreApplication::installTranslator(translator.get());
    return translator.release();
}
