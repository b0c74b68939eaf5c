// Helpers of the window tests: a private settings folder, surveys on disk,
// and answering the modal dialogs the window opens.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "app/device_launch.h"
#include "core/survey_record.h"
#include "device/device_interfaces.h"

class QWidget;

namespace orb {
class CMainFrame;
class DeviceBridge;
}  // namespace orb

namespace orb::test {

// Points QSettings at a fresh folder and sets the application's settings
// names. Keep the returned folder alive for the test.
std::unique_ptr<QTemporaryDir> UseTemporarySettings();

// Registers the Chinese font substitutions (once).
void PrepareApplication();

// Records with distinct, recognisable values: inclination = i, depth = 10·i,
// sample times one minute apart, every third record selected.
std::vector<SurveyRecord> MakeRecords(std::size_t n);

// Runs `answer` on the next modal widget that opens (polling), once; with
// `className`, only on a modal widget of that class; with `whileOpen`, only
// while that widget is still shown.
void WhenModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000, const char* className = nullptr,
               QWidget* whileOpen = nullptr);

// One simulated probe and synchronizer and one window on them. The device
// side's message boxes are answered by `answer` and recorded.
struct SimRig {
    QTemporaryDir dir;
    DeviceLaunch sim;
    std::unique_ptr<CMainFrame> frame;
    DeviceBridge* device = nullptr;

    // Starts orb-devsim with `args` (and `scenarioJson`, when given, as its
    // scenario file), then the window on `port` (default: the simulator's
    // device), and waits for the window's start-up.
    bool Start(QStringList args, const QByteArray& scenarioJson = {},
               MessageAnswer answer = MessageAnswer::kYes, const QString& port = {});
    // The simulator's log of command frames, when `--log LogPath()` was given.
    QString LogPath() const;
    QStringList Logged() const;
    void Run(int id);
    // Appends MakeRecords(n) to the survey as a download would leave it.
    void HoldSurvey(std::size_t n, bool modified);
    ~SimRig();
};

}  // namespace orb::test
