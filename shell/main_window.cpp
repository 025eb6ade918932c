#include "shell/main_window.h"

#include "platform/constants.h"
#include "platform/windowing.h"
#include "shell/product_profile.h"
#include "ui/dialog_ids.h"

platform::Window mainWindow = nullptr;
platform::Instance appInstance = nullptr;

platform::Result PLATFORM_CALLBACK mainWindowProc(platform::Window window, unsigned message,
                                                  platform::WParam wParam,
                                                  platform::LParam lParam) {
    if (message == platform::wmDestroy) {
        platform::postQuitMessage(0);
        return 0;
    }
    return platform::defWindowProc(window, message, wParam, lParam);
}

bool createMainWindow(platform::Instance instance, platform::Instance previousInstance,
                      int showCommand, bool checkSingleInstance) {
    if (checkSingleInstance &&
        platform::findWindow(productProfile.windowClassName, productProfile.productTitle) !=
            nullptr) {
        return false;
    }
    if (previousInstance == nullptr) {
        platform::WindowClass windowClass;
        windowClass.style = platform::csHRedraw | platform::csVRedraw;
        windowClass.proc = mainWindowProc;
        windowClass.instance = instance;
        windowClass.iconResource = ids::iconGroup;
        windowClass.className = productProfile.windowClassName;
        if (!platform::registerWindowClass(windowClass)) return false;
    }
    platform::Window window = platform::createWindow(
        0, productProfile.windowClassName, productProfile.productTitle, platform::wsPopup,
        platform::cwUseDefault, platform::cwUseDefault, 0, 0, nullptr, instance);
    if (window == nullptr) return false;
    platform::showWindow(window, showCommand);
    mainWindow = window;
    appInstance = instance;
    return true;
}
