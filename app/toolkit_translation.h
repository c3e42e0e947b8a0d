#pragma once
// The toolkit's own texts (standard buttons, file dialogs) in the operator's
// language. The configurator's own texts have no translation and stay as
// they are.
class QCoreApplication;
class QLocale;
class QTranslator;

// Installs Qt's catalogue (qtbase_*.qm from the toolkit's translations
// folder) for this locale and returns it, owned by the application; null
// when there is none for the locale (the toolkit's English texts stay).
// Call it before any window exists: installing a translator sends a language
// change to every window, which would fill the form's lists again.
QTranslator *installToolkitTranslation(QCoreApplication &application, const QLocale &locale);
