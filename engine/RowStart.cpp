#include "engine/RowStart.h"
#include "batch/SourceReader.h"
#include "engine/ErrorDisplay.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"

void PrepareConverterOnceRead(quint64 start, const TSourceReading& source)
{
    Guarded([&] {
        if (FFmpegFrm)
            TFFmpegFunc().PrepareConverter(start, source);
    });
}

void StartConverterOnceKept(quint64 start)
{
    Guarded([start] {
        if (FFmpegFrm)
            TFFmpegFunc().StartKeptConverter(start);
    });
}
