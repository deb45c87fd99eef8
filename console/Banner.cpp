// GBK text (compiled with the GBK execution character set). A Chinese character is
// two bytes and two console columns wide, so the frame lines up on a GBK console.
#include "console/Banner.h"

namespace tavol {

const char kBanner[] =
    "+--------------------------------------------------+\n"
    "|  TavolInfo  快门数 / 反光板数检测工具            |\n"
    "|  制作：KVT 工具组  Credits: the KVT toolkit team |\n"
    "+--------------------------------------------------+\n";

}  // namespace tavol
