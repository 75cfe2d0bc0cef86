#include "engine/MediaInfoNotice.h"
#include "media/MediaInfoDll.h"

#include <QLineEdit>

#include <utility>

void ShowMediaInfoMissingOnce(QLineEdit* statusLine)
{
    static bool said = false;
    if (std::exchange(said, true))
        return;
    statusLine->setText(QStringLiteral("Cannot load media information library: %1")
                            .arg(QString::fromUtf8(MediaInfoLibraryName)));
}
