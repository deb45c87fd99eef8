// Compiled with the execution character set CP932: these literals are Shift-JIS bytes.
// Keep other texts out of this file.
#include "core/channel/ComLibTexts.h"

namespace comlib {

extern const char kVersionWarningCaption[] = "警告";
extern const char kVersionWarningFormat[] =
    "使用しているプロセス間通信ライブラリ(ComLIB)\nのバージョンが通信先と異なっています。\n"
    "Major Version = 0x%02X ";
extern const char kNotCreatedText[] = "共有メモリが作成されていません";

}  // namespace comlib
