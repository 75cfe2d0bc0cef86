// Play: the mini player for the selected row.
#include "engine/FFmpegFunc.h"

void TFFmpegFunc::PlaySelectedFile() {}
