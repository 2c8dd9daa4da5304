// Every message box of the program goes through here, so that tests can
// capture messages instead of blocking on a modal box.
#pragma once

#include <QString>
#include <exception>
#include <functional>

class QWidget;

enum class TMessageIcon { None, Error };

using TMessageBoxHook =
    std::function<void(QWidget* parent, const QString& text, const QString& caption, TMessageIcon icon)>;

// Shows a modal message box with an OK button (or hands it to the hook).
void ShowMessageBox(QWidget* parent, const QString& text, const QString& caption,
                    TMessageIcon icon = TMessageIcon::None);

// Replaces the modal box by the hook; an empty hook restores the box.
void SetMessageBoxHook(TMessageBoxHook hook);

// The application's error display: the exception's message followed by ".",
// the application's title as caption, the error icon.  Engine messages are
// Shift-JIS and are converted here.
void ShowError(QWidget* parent, const std::exception& error);

// The application's title, shown as the caption of error messages.
QString ApplicationTitle();
