#include "app/dialog_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace orb {

namespace {
constexpr const char* kLastFolderKey = "Settings/LastFolder";
}

QString StartFolder() {
    const QString folder = QSettings().value(QString::fromLatin1(kLastFolderKey)).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    return QDir::homePath();
}

void RememberFolderOf(const QString& file) {
    if (file.isEmpty()) return;
    QSettings().setValue(QString::fromLatin1(kLastFolderKey), QFileInfo(file).absolutePath());
}

}  // namespace orb
