#pragma once

class QApplication;

/// Installs Qt's own Japanese texts (qtbase_ja.qm from Qt's translations
/// folder) on the application, whatever the system's locale, so the buttons of
/// message boxes and the labels of file dialogs speak Japanese like the rest of
/// the program. Call it before the first window is created: widgets take their
/// texts when they are built. Returns false when the catalogue is missing; the
/// program then runs on with Qt's English texts.
bool installJapaneseTranslations(QApplication &app);
