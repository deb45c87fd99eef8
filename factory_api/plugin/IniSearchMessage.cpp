// Compiled with the Shift-JIS (CP932) execution character set: the message below is
// written to standard error in that code page.
#include <cstdio>

#include "factory_api/plugin/VersionCheck.h"

void WriteIniSearchFailureMessage() {
    std::fputs("ファイルを取得できません。\n", stderr);
    std::fflush(stderr);
}
