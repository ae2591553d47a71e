#include "syshelper/SystemHelper.h"

#include <windows.h>
#include <objbase.h>

void SystemHelperDestroyer::operator()(SystemHelper* helper) const
{
    if (helper) helper->operations().destroy(helper);
}
