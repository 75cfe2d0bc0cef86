#include "engine/BatchNotifier.h"
#include "engine/DesktopNotifier.h"

namespace {
TBatchNotifier* standIn = nullptr;
}

TBatchNotifier& BatchNotifierBackend()
{
    static TDesktopNotifier desktop;
    return standIn ? *standIn : desktop;
}

void SetBatchNotifierBackend(TBatchNotifier* backend) { standIn = backend; }

QString BatchFinishedBody(int converted, int failed)
{
    QString body = QStringLiteral("%1 %2 converted").arg(converted).arg(converted == 1 ? "file" : "files");
    if (failed > 0)
        body += QStringLiteral(", %1 failed").arg(failed);
    return body;
}
