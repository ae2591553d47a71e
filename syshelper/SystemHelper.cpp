#include "syshelper/SystemHelper.h"

#include "syshelper/Operations.h"

#include <objbase.h>

namespace {

// Slot order is fixed: 0 destroy ... 10 getComSpec.
constexpr SystemHelperTable operationTable{
    destroyHelper,
    copyHelper,
    getVariableOperation,
    setVariableOperation,
    removeVariableOperation,
    countVariablesOperation,
    listVariablesOperation,
    getCommandLineArgsOperation,
    getCurrentDirectoryOperation,
    getModulePathOperation,
    getComSpecOperation,
};

}  // namespace

struct SystemHelperFactory {
    static SystemHelper* make() { return new SystemHelper(&operationTable); }
};

SystemHelperPtr SystemHelper::create()
{
    return SystemHelperPtr(SystemHelperFactory::make());
}

void SystemHelperDestroyer::operator()(SystemHelper* helper) const
{
    if (helper) helper->operations().destroy(helper);
}

void destroyHelper(SystemHelper* self)
{
    // Balances one of the CoInitialize calls that the environment operations
    // leave behind; the first of them usually finds the thread initialised.
    CoUninitialize();
    delete self;
}

SystemHelper* copyHelper(const SystemHelper*)
{
    return SystemHelperFactory::make();
}
