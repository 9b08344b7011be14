#pragma once

namespace suite {

// The suite speaks Spanish, whatever the machine is set to: Qt's own dialogs
// (print, messages' standard buttons) and the calendar included. The locale
// is Mexican Spanish, whose numbers are written as the suite writes them
// (1,234.50); the screen's own number and date formats, and every SQL
// literal, never depend on it.
class HostLanguage
{
public:
    // After the application object exists. False (with a warning on standard
    // error) when Qt's Spanish translations are not installed.
    static bool apply();
};

} // namespace suite
