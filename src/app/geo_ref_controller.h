// The "井位与地磁参考" command (data menu, after 钻井参数输入) and the north
// reference of the trajectory panel (a box on its toolbar): both remembered
// per well. Values go to the well's declination or quality references only
// through the dialog's buttons.
#pragma once

#include <QObject>

#include "app/geo_ref_settings.h"

class QAction;
class QComboBox;

namespace orb {

class CMainFrame;
class CQualityController;
class CGeoRefDlg;

namespace cmd {
inline constexpr int kGeoReference = 33100;
}  // namespace cmd

class CGeoRefController : public QObject {
    Q_OBJECT
public:
    CGeoRefController(CMainFrame* frame, CQualityController* quality);

    QAction* action() const { return action_; }
    CGeoRefDlg& dialog() const { return *dialog_; }
    QComboBox* northBox() const { return north_; }

    // Opens the dialog for the current well; its inputs are kept on close.
    void OnGeoReference();
    // The north reference of the panel from the well's settings.
    NorthResolution CurrentNorth() const;

private:
    void TakeDeclination(double declination, const QString& model);
    void TakeQualityReferences(double field, double dip, double gravity);
    void OnNorthChosen(int index);
    QString Well() const;

    CMainFrame* frame_;
    CQualityController* quality_;
    CGeoRefDlg* dialog_;
    QAction* action_;
    QComboBox* north_;
};

}  // namespace orb
