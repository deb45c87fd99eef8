// Which images the camera's current quality setting gives: byte 2 of the packed word
// (public property 0x8000002F). 1: JPEG only; 6: raw only; 7: raw and JPEG.
#pragma once

#include "core/camera/SLRRemoteCapture.h"

namespace kvtq517 {

// Sets both flags; any other quality code fails. Failures are raised as
// "[FUNC] SearchImageFormat" with the caught code (33 for anything else), after the
// caught message went to the log.
void SearchImageFormat(bool* IsContainTraw, bool* IsContainJpeg);

// The transfer order the camera delivers: raw first.
CSLRRemoteCapture::ImageFormatList ImageFormatsOf(bool IsContainTraw, bool IsContainJpeg);

}  // namespace kvtq517
