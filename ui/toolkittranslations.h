// The toolkit's own texts (the standard buttons, the font, colour and file
// choosers, the context menus of edit fields) in the user's language: the
// translation catalogue of the toolkit for the system locale, when one is
// installed.  The program's own texts are Japanese whatever the locale.
#pragma once

class QCoreApplication;

// Installs the catalogue for the system locale on application; without one
// (an English locale, or no catalogues installed) the toolkit's English
// texts stay.  Returns whether a catalogue was installed.
bool LoadToolkitTranslations(QCoreApplication& application);
