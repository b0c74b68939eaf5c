// Data commands of the main window: well information, depth generation and
// data compensation.
#include "app/data_modify_dlg.h"
#include "app/depth_calc_dlg.h"
#include "app/main_frame.h"
#include "app/well_input_dlg.h"
#include "core/corrections.h"

namespace orb {

void CMainFrame::SyncWellInfoFromDocument(const std::u16string& team, const std::u16string& well) {
    wellInfo_.teamNumber = team;
    wellInfo_.wellNumber = well;
}

void CMainFrame::InputWellInfo() {
    CWellInputDlg& dlg = *wellInputDlg_;
    dlg.teamNumber = QString::fromStdU16String(wellInfo_.teamNumber);
    dlg.wellNumber = QString::fromStdU16String(wellInfo_.wellNumber);
    dlg.magneticDeclination = wellInfo_.magneticDeclination;
    const bool ok = dlg.exec() == QDialog::Accepted;
    // A declination refused for its range was reset to 0 even if the
    // operator then cancels.
    wellInfo_.teamNumber = dlg.teamNumber.toStdU16String();
    wellInfo_.wellNumber = dlg.wellNumber.toStdU16String();
    wellInfo_.magneticDeclination = dlg.magneticDeclination;
    if (!ok) return;
    edits_.SetWellTexts(wellInfo_.teamNumber, wellInfo_.wellNumber);
}

void CMainFrame::OnDepthCalc() {
    CDepthCalcDlg& dlg = *depthCalcDlg_;
    if (dlg.exec() != QDialog::Accepted) return;
    edits_.GenerateDepths(dlg.initialDepth, dlg.segmentLength);
}

void CMainFrame::OnDataModify() {
    CDataModifyDlg& dlg = *dataModifyDlg_;
    if (dlg.exec() != QDialog::Accepted) return;
    CompensationOffsets offsets;
    offsets.inclination = dlg.inclinationOffset;
    offsets.azimuth = dlg.azimuthOffset;
    offsets.gravityToolFace = dlg.gravityToolFaceOffset;
    offsets.magneticToolFace = dlg.magneticToolFaceOffset;
    offsets.totalGravity = dlg.totalGravityOffset;
    offsets.totalMagnetic = dlg.totalMagneticOffset;
    offsets.dip = dlg.dipOffset;
    edits_.Compensate(offsets);
}

}  // namespace orb
