// GBK text (compiled with the GBK execution character set).
#include "console/Closing.h"

#include <cstdio>
#include <cstdlib>

#include "console/ResultText.h"

namespace tavol {

void FinishAndShow(CFactoryLibrary& factory) {
    std::printf("按回车键输出最终结果！\n");
    // Our buffered output must be out before a child process writes to the console.
    std::fflush(stdout);
    std::getchar();
    std::system("cls");
    std::printf("%s\n", TheResultText().Text());
    std::fflush(stdout);
    std::system("pause");
    factory.Unload();
}

}  // namespace tavol
