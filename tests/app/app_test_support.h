// Helpers of the window tests: a private settings folder, surveys on disk,
// and answering the modal dialogs the window opens.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "core/survey_record.h"

class QWidget;

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

}  // namespace orb::test
