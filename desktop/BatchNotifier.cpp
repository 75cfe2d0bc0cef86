#include "desktop/BatchNotifier.h"
#include "desktop/DesktopNotifier.h"
#include "desktop/ServiceInUse.h"

TBatchNotifier& BatchNotifierBackend() { return ServiceInUse<TBatchNotifier>::Get<TDesktopNotifier>(); }

void SetBatchNotifierBackend(TBatchNotifier* backend) { ServiceInUse<TBatchNotifier>::Replace(backend); }

QString BatchFinishedBody(int converted, int failed, int warnings)
{
    QString body = QStringLiteral("%1 %2 converted").arg(converted).arg(converted == 1 ? "file" : "files");
    if (failed > 0)
        body += QStringLiteral(", %1 failed").arg(failed);
    if (warnings > 0)
        body += QStringLiteral(", %1 %2").arg(warnings).arg(warnings == 1 ? "warning" : "warnings");
    return body;
}
