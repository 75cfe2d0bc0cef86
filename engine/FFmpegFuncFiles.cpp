// The source file list and the information panel.
#include "engine/FFmpegFunc.h"

void TFFmpegFunc::ClearInfoPanel() {}
void TFFmpegFunc::AddFile() {}
void TFFmpegFunc::ShowFileInfo(const QString&) {}
void TFFmpegFunc::ShowSelectedFileInfo() {}
void TFFmpegFunc::DeleteSelectedFile() {}
void TFFmpegFunc::ClearFiles() {}
