#include "app/Actions.h"
#include "app/MainWindow.h"
#include "syshelper/SystemHelper.h"

#include <windows.h>

void onConfigureClicked(MainWindow& window)
{
    SystemHelperPtr helper = SystemHelper::create();
    const Text folder = window.getEditText();
    helper->setVariable(false, "JAVA_HOME", folder);
    helper->setVariable(false, "JRE_HOME", "%JAVA_HOME%\\jre");
    const Text oldPath = helper->getVariable(false, "PATH");
    helper->setVariable(false, "PATH", oldPath + ";%JAVA_HOME%\\bin;%JRE_HOME%\\bin");
    MessageBoxW(nullptr, L"配置Java环境成功！", L"信息：", MB_OK | MB_TASKMODAL);
}
