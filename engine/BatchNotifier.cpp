#include "engine/BatchNotifier.h"
#include "engine/DesktopNotifier.h"
#include "engine/ServiceInUse.h"

TBatchNotifier& BatchNotifierBackend() { return ServiceInUse<TBatchNotifier>::Get<TDesktopNotifier>(); }

void SetBatchNotifierBackend(TBatchNotifier* backend) { ServiceInUse<TBatchNotifier>::Replace(backend); }

QString BatchFinishedBody(int converted, int failed)
{
    QString body = QStringLiteral("%1 %2 converted").arg(converted).arg(converted == 1 ? "file" : "files");
    if (failed > 0)
        body += QStringLiteral(", %1 failed").arg(failed);
    return body;
}
