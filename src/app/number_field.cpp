#include "app/number_field.h"

#include <QLineEdit>
#include <QMessageBox>
#include <charconv>
#include <optional>

#include "app/ui_language.h"
#include "document/well_info.h"

namespace orb {

bool ParseNumberField(const QString& text, double& out) {
    const std::optional<double> v = ParseDialogNumber(text.toStdU16String());
    if (!v) return false;
    out = *v;
    return true;
}

QString FormatNumberField(double value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? QString::fromLatin1(buf, end - buf) : QString();
}

QString FormatNumberField(float value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? QString::fromLatin1(buf, end - buf) : QString();
}

bool CNumberDialog::TakeNumber(QLineEdit* field, double& out) {
    double v = 0;
    if (ParseNumberField(field->text(), v)) {
        out = v;
        return true;
    }
    RefuseField(field);
    return false;
}

bool CNumberDialog::TakeNumber(QLineEdit* field, float& out) {
    if (const std::optional<float> v = ParseDialogFloat(field->text().toStdU16String())) {
        out = *v;
        return true;
    }
    RefuseField(field);
    return false;
}

void CNumberDialog::RefuseField(QLineEdit* field) {
    QMessageBox::warning(this, QStringLiteral("Orb"), CoreText(kNotANumberMessage));
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

QLineEdit* CNumberDialog::NumberEdit(int controlId) {
    auto* e = new QLineEdit(this);
    e->setProperty("controlId", controlId);
    e->setObjectName(QStringLiteral("edit%1").arg(controlId));
    return e;
}

}  // namespace orb
