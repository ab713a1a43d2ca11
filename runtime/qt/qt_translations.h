#pragma once

#include <QLocale>

class QTranslator;

// Installs the toolkit's own translation for the locale, so that what the
// toolkit itself shows (an input's context menu, a box's button) speaks the
// user's language. The form's own texts are not translated. Returns the
// translator, owned by the application, or nullptr when the locale has none.
QTranslator* InstallToolkitTranslation(const QLocale& locale);
