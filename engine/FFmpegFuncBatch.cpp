// The batch run: command line, progress, stop, power-off.
#include "engine/FFmpegFunc.h"

QByteArray TFFmpegFunc::BuildCommandLine() { return {}; }
QByteArray TFFmpegFunc::MakeOutputFileName(const QByteArray&) { return {}; }
int TFFmpegFunc::GetCurrentDurationSecs() { return 0; }
int TFFmpegFunc::ParseTimeSecs(const QByteArray&) { return 0; }
void TFFmpegFunc::ShutdownComputer(int) {}
void TFFmpegFunc::ConvertCurrentFile() {}
void TFFmpegFunc::StartConversion() {}
void TFFmpegFunc::StopConversion() {}
void TFFmpegFunc::StopOnClose() {}
void TFFmpegFunc::HandleConverterOutput(const QByteArray&) {}
