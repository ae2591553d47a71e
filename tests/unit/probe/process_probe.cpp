// Started by the process-query tests with crafted command lines and from
// crafted folders. Prints what the helper's process queries answer, each
// text as hex so no code page stands between the two processes:
//   module <hex of the full path>
//   name <hex of the file name>
//   args <count>
//   arg <hex>          (one line per argument)

#include "syshelper/SystemHelper.h"

#include <windows.h>
#include <objbase.h>

#include <string>

namespace {

std::string hexOf(const Text& text)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : text) {
        hex += digits[byte >> 4];
        hex += digits[byte & 0x0F];
    }
    return hex;
}

void writeLine(const std::string& line)
{
    const std::string withEnd = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), withEnd.data(), static_cast<DWORD>(withEnd.size()), &written, nullptr);
}

}  // namespace

int main()
{
    // The helper's destroy balances one CoInitialize; give it the one to balance.
    CoInitialize(nullptr);
    SystemHelperPtr helper = SystemHelper::create();
    writeLine("module " + hexOf(helper->getModulePath(true)));
    writeLine("name " + hexOf(helper->getModulePath()));
    // Texts already in the list must be replaced, not kept.
    TextList args{"stale", "texts"};
    const int32_t count = helper->getCommandLineArgs(args);
    writeLine("args " + std::to_string(count) + " " + std::to_string(args.size()));
    for (const Text& arg : args) writeLine("arg " + hexOf(arg));
    return 0;
}
