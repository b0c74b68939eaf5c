// Number fields of the dialogs: what they accept, how they show a value,
// and the refusal of a text that is not a number.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace orb {

// A decimal number with optional blanks around it; false for anything else
// (an empty text, trailing characters, infinities, NaN). Never depends on
// the process locale.
bool ParseNumberField(const QString& text, double& out);

// Shortest text that reads back to the same value.
QString FormatNumberField(double value);
QString FormatNumberField(float value);

// Base of the dialogs with number fields: reading a field that is not a
// number shows "请输入一个数字。", gives the field the focus and fails.
class CNumberDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

protected:
    bool TakeNumber(QLineEdit* field, double& out);
    bool TakeNumber(QLineEdit* field, float& out);
    void RefuseField(QLineEdit* field);
    // An edit with the control id as property "controlId".
    QLineEdit* NumberEdit(int controlId);
};

}  // namespace orb
