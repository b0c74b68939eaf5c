// "自动生成井深" (dialog 323): initial depth and segment length.
#pragma once

#include "app/number_field.h"

class QLineEdit;

namespace orb {

class CDepthCalcDlg : public CNumberDialog {
    Q_OBJECT
public:
    explicit CDepthCalcDlg(QWidget* parent = nullptr);

    float initialDepth = 0;   // control 1026
    float segmentLength = 0;  // control 1027

    QLineEdit* initialEdit() const { return initial_; }
    QLineEdit* segmentEdit() const { return segment_; }

    int exec() override;
    void accept() override;

private:
    QLineEdit* initial_;
    QLineEdit* segment_;
};

}  // namespace orb
