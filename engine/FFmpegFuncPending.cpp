// Operations whose behaviour arrives with the file list, the batch run and
// the player. Until then they leave everything as it is.
#include "engine/FFmpegFunc.h"

void TFFmpegFunc::ClearInfoPanel() {}
void TFFmpegFunc::AddFile() {}
void TFFmpegFunc::ShowFileInfo(const QString&) {}
void TFFmpegFunc::ShowSelectedFileInfo() {}
void TFFmpegFunc::DeleteSelectedFile() {}
void TFFmpegFunc::ClearFiles() {}
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
void TFFmpegFunc::PlaySelectedFile() {}
