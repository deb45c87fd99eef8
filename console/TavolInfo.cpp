// TavolInfo: tells how often the attached camera's shutter and mirror were released.
// Identifies the camera through the camera SDK, picks the counter addresses by model
// and reads them through the factory API library. All texts are GBK (compiled with
// the GBK execution character set).
#include <cstdio>

#include "console/Banner.h"
#include "console/CameraIdentity.h"
#include "console/Closing.h"
#include "console/CounterReport.h"
#include "console/FactoryLibrary.h"
#include "console/ModelTable.h"
#include "console/ResultText.h"

namespace {

using namespace tavol;

int Run() {
    Report("%s", kBanner);

    CFactoryLibrary factory;
    if (!factory.Load()) {
        Report("dll载入错误！\n");
        FinishAndShow(factory);
        return -1;
    }

    std::printf("正在使用TavolSDK检测相机！\n");
    CameraIdentity identity;
    switch (IdentifyCamera(identity)) {
        case IdentifyResult::Identified:
            break;
        case IdentifyResult::SdkStartFailed:
            Report("SDK出错！\n");
            FinishAndShow(factory);
            return 0;
        case IdentifyResult::NoCamera:
        case IdentifyResult::SessionFailed:
            FinishAndShow(factory);
            return -1;
    }
    std::printf("SDK检测功能完成！即将使用oxrmsg获取快门数反光板信息\n");

    if (IsFactoryMode(identity.productName)) {
        Report("当前处于工厂模式，请退出后再次测试！\n");
        FinishAndShow(factory);
        return 0;
    }
    ReportCounts(factory.Api(), identity.productName);
    FinishAndShow(factory);
    return 0;
}

}  // namespace

int main() {
    return Run();
}
