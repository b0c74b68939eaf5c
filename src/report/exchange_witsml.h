// The survey as a WITSML 1.4.1.1 trajectory (obj_trajectory, namespace
// http://www.witsml.org/schemas/1series), elements in the schema's order:
// the well and the references, then the tie-on as "tie in point" and one
// "magnetic multi-shot" station per selected station with its position,
// tool faces, rates, the field references the checks used and the
// calibrated sensor components as raw data.
#pragma once

#include <string>

#include "report/exchange_survey.h"

namespace orb {

inline constexpr const char* kWitsmlNamespace = "http://www.witsml.org/schemas/1series";

// The document, UTF-8 with its declaration; empty if the XML writer failed.
std::string ExchangeWitsml(const ExchangeSurvey& survey);

}  // namespace orb
