// The application object: settings location, translations, font
// substitutions, the main window and the command line.
#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

#include "app/ui_language.h"

namespace orb {

class CMainFrame;
struct CommandLine;

// Where the settings live (organisation and application name of QSettings).
inline constexpr const char* kSettingsOrganization = "应用程序向导生成的本地应用程序";
inline constexpr const char* kSettingsApplication = "Orb";

class COrbApp : public QObject {
    Q_OBJECT
public:
    COrbApp();
    ~COrbApp() override;

    // Settings names; also used by tests before they build a frame.
    static void ConfigureSettings();
    // The stored language (the system's when none is stored): Qt's own texts
    // (standard buttons, file dialog) and, for English, the program's; false
    // when a translation file is missing.
    bool InstallTranslations();
    // Installed faces standing in for the Windows faces the program names.
    static void RegisterFontSubstitutions();
    static void SetInterfaceFont();

    // Start-up: returns false when the program should end at once.
    bool InitInstance(const CommandLine& commandLine);
    int ExitInstance(int code);
    CMainFrame* mainFrame() const { return frame_.get(); }

private:
    void TakeScreenshot(const QString& png);

    UiTranslators translators_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace orb
